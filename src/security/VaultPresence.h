#pragma once

#include <QString>

// Whether a vault may exist on this machine, for the rules that would drop or replace a stored
// passcode. It answers "no" only with positive proof: both trees are absent or readable and hold
// no folder. A tree that cannot be read, or a CloudContainer link whose target is missing (a sync
// folder on a drive not mounted yet), may hold files that need the passcode.
struct VaultPresence
{
    bool mayExist = false;
    QString reason; // why a vault may exist, for the log

    // Looks at the trees under `documents` and `cloudContainer` (its "Documents" folder).
    static VaultPresence look(const QString &documents, const QString &cloudContainer);
    // The same for this user's trees (AppPaths).
    static VaultPresence look();
};

#pragma once

#include <QString>

// Where Lumisera keeps things on disk. Every path follows the XDG variables read at the call.
class AppPaths
{
public:
    AppPaths() = delete;

    // $XDG_DATA_HOME/Morvenda/Lumisera
    static QString dataDirectory();
    // The on-device vault tree.
    static QString documentsDirectory();
    // A folder, or a link to one, that a sync client keeps in sync.
    static QString cloudContainer();
    // Where the passcode lives when no desktop keyring answers.
    static QString credentialsFile();
    // The private folder for decrypted copies; created with mode 0700 when missing.
    // Empty when it cannot be made private.
    static QString temporaryDirectory();
    // Makes the missing folders of `path`, each with mode 0700 (folder names in the vault are
    // stored in clear); folders that exist are left as they are. False when one cannot be made.
    static bool makePrivateFolders(const QString &path);
    // $XDG_RUNTIME_DIR/<name>, else <tmp>/<name>-<uid>: created 0700 when missing and checked to
    // be this user's own folder. Empty when it cannot be made private.
    static QString privateRuntimeFolder(const QString &name);
    // Removes everything inside the temporary directory (left over by a crash).
    static void clearTemporaryDirectory();
};

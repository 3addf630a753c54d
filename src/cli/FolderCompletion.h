#pragma once

#include "storage/StorageLocation.h"

#include <QTextStream>
#include <functional>

// The folder names of a tree for shell completion, given only when they can be had without asking
// anyone: the passcode is kept in the desktop keyring and the keyring hands it out without a prompt.
// Otherwise nothing is printed and the answer is Failure, at once. Nothing is ever asked for,
// written or removed, and nothing goes to standard error.
class FolderCompletion
{
public:
    // Whether the keyring would give the passcode without showing a prompt.
    using PromptFree = std::function<bool()>;

    FolderCompletion(StorageLocation location, PromptFree keyringPromptFree);
    // The real keyring on the session bus, asked with short deadlines.
    static FolderCompletion onSessionBus(StorageLocation location);

    // One folder name per line; names that would not fit on one line are left out.
    int run(QTextStream &out);

private:
    StorageLocation m_location;
    PromptFree m_keyringPromptFree;
};

#pragma once

#include <QString>

// The naming rules of vault files and folders, free of any disk access.
class FileNaming
{
public:
    FileNaming() = delete;

    // The clear name of a folder's PIN file.
    static QString pinFileName();

    // A UUID-based name for pictures that have none: 32 hex digits in mixed case, then "." and
    // the extension when it is not blank.
    static QString generatedFileName(const QString &extension, const QString &prefix = QString());

    // The candidates of uniqueName(for:): the name itself, then base(1).ext, base(1)(2).ext, ...
    // `attempt` 0 is the name itself.
    static QString uniqueNameCandidate(const QString &name, int attempt);

    // Whether the listing would never show an item of this clear name: a hidden name, or the PIN
    // file's in any letter case. Such names are refused, so that nothing stored gets lost.
    static bool isHiddenFromListing(const QString &name);
    // Whether a folder name may be created: not blank, not "." or "..", not hidden from the
    // listing, no "/" or NUL, and short enough for the file system.
    static bool isAcceptableFolderName(const QString &name);
    // Folder names keep no "-": it becomes "_".
    static QString adjustedFolderName(const QString &name);

    // The name under which the drive stores a file written by import: the scrambled name as the
    // drive keeps it (it trims target names, dropping the padding space of odd-length names).
    static QString storedFileName(const QString &clearName);
    // The exact scrambled name, padding included (the PIN file is written this way).
    static QString scrambledName(const QString &clearName);
    // How a file or folder is named in a log line: never in clear, the journal outlives the vault's
    // lock. Each "/"-separated part is scrambled.
    static QString forLog(const QString &clearPath);
};

// The free-function spelling used by the capture and import paths.
inline QString generatedFileName(const QString &extension)
{
    return FileNaming::generatedFileName(extension);
}

#pragma once

#include "storage/SyncConflictName.h"

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

    // The clear name a listing shows for a file stored under onDiskName: unscrambled, with a sync
    // client's conflict text turned into " (conflict DATE TIME)" after the base name.
    struct ShownName
    {
        QString name;
        QString ext; // without the dot; the type of the file follows from it
        // name.ext, or name alone when there is no extension.
        QString fullName() const;
    };
    static ShownName shownName(const QString &onDiskName,
                               SyncConflictName::Detail detail = SyncConflictName::Detail::minutes);
    // Whether a file stored under this clear name is listed by that very name. Not so for one
    // with white space at either end (trimming the scrambled name would shift its pairs, so that
    // " notes.txt" shows as "YoteT.SxS"), one whose stored form reads as another name (" @.WiY"
    // would be stored as the folder's PIN file) or one with its extension twice ("a.jpg.jpg" shows
    // as "a.jpg"): such names are refused before anything is written.
    static bool keepsItsName(const QString &clearName);
    // A file may be stored under this name: it keeps its name and the listing does not hide it.
    static bool isStorableFileName(const QString &clearName);
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

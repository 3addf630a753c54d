#pragma once

#include "security/FileEncryptor.h"
#include "security/VaultSession.h"
#include "storage/StorageLocation.h"
#include "storage/StoredItem.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <system_error>

class CloudDrive;
class DriveManager;

// The operations that change one vault folder through its drive manager, under one vault session.
// Synchronous, for the storage pool; none of them reloads a listing (the drive's change reports
// do). Without a drive manager, or one without a drive, each refuses with "no storage manager"; once
// the session has ended, each refuses as locked: nothing changes after the lock.
class FolderOperations
{
    Q_DECLARE_TR_FUNCTIONS(FolderOperations)
public:
    FolderOperations(std::shared_ptr<DriveManager> manager, StorageLocation location,
                     VaultSessionPtr session);

    // A drive manager for a folder, released on its own thread whoever drops it last.
    static std::shared_ptr<DriveManager> makeDriveManager(StorageLocation location, const QString &rootPath);

    // Creates the folder (with "-" turned into "_") under the tree's root, with its PIN file when
    // a PIN is given; refuses unusable names. Answers whether the folder (and PIN file) exist: a
    // folder made here whose PIN file cannot be written is removed again, never left unprotected.
    bool createFolder(const QString &name, const std::optional<QString> &pin);
    // Writes the PIN file of the folder at folderPath, replacing one that is there (under any
    // spelling of its name).
    bool createPin(const QString &pin, const QString &folderPath);
    // Removes the folder's PIN entries, readable or not.
    bool removePin();
    bool deleteFolder();
    // Deletes every item that can be deleted, whatever fails on the way; true when all went.
    // deleteFailures() names the others and why.
    bool deleteFiles(const QList<StoredItemPtr> &items);
    // Encrypts the source into the folder under its own name (or a generated .JPEG name), made
    // unique, never replacing a file another writer stored meanwhile; removes the source afterwards
    // when asked, whether or not the copy worked. progress may stop the copy (lastFailure() is then
    // operation_canceled and nothing is stored). A name that would not be listed as it is
    // (FileNaming::isStorableFileName()) is refused with invalid_argument before anything is written.
    bool addToCollectionAndDelete(const QString &sourcePath, bool shouldDelete, bool rename,
                                  const FileEncryptor::ProgressHandler &progress = {});
    // The plain name, or the first of its numbered variants, that no stored file has (in the
    // cloud tree: not even up to letter case).
    QString uniqueName(const QString &name);
    bool addImageData(const QByteArray &data);
    void importFromFiles(const QStringList &paths);

    // The name the last successful addToCollectionAndDelete() stored.
    QString lastStoredName() const { return m_lastStoredName; }
    // Why the last addToCollectionAndDelete() failed, when a file call did; empty otherwise.
    std::error_code lastFailure() const { return m_lastFailure; }
    // The sentence of the last refusal to write into the tree at all (another passcode wrote it,
    // its key-check entry is damaged); empty when the last write was not refused so.
    QString treeRefusal() const { return m_treeRefusal; }

    struct Failure
    {
        QString name;   // the item's clear name
        QString reason; // as the system words it, for a person to read
    };
    // The items the last deleteFiles() left, with why.
    QList<Failure> deleteFailures() const { return m_deleteFailures; }

    bool isOpen() const { return m_session && m_session->isOpen(); }

private:
    // Enough for any folder a person keeps; past it something is wrong and the file is refused.
    static constexpr int maxNameAttempts = 10000;

    bool hasDrive() const;
    // hasDrive(), and the session still open (logged as locked otherwise).
    bool mayChange() const;
    // Logs that the vault locked; false.
    static bool refusedAsLocked();
    // Whether the tree may be written under this session's passcode (TreeKeyCheck); notes the
    // refusal otherwise.
    bool treeAcceptsWrites();
    static void removeSource(const QString &sourcePath, bool shouldDelete);
    // The attempt of FileNaming::uniqueNameCandidate() that uniqueName() answers.
    int uniqueAttempt(const QString &name);
    bool importUnderUniqueName(const QString &sourcePath, const QString &plain,
                               const FileEncryptor::ProgressHandler &progress);
    // Removes every PIN entry in the drive's root but the one named keeping; false when one could
    // not be removed, or when there was none to remove and none to keep.
    static bool removePinEntries(const std::shared_ptr<CloudDrive> &drive,
                                 const std::optional<QString> &keeping);
    bool fileExists(const QString &storedName, bool &exists) const;
    // The case-folded names in the folder; nothing when it cannot be listed.
    std::optional<QSet<QString>> foldedNames() const;

    std::shared_ptr<DriveManager> m_manager;
    StorageLocation m_location;
    VaultSessionPtr m_session;
    QString m_lastStoredName;
    std::error_code m_lastFailure;
    QString m_treeRefusal;
    QList<Failure> m_deleteFailures;
};

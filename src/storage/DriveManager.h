#pragma once

#include "drive/CloudDriveObserver.h"
#include "security/FileEncryptor.h"
#include "security/VaultSession.h"
#include "storage/FileItemType.h"
#include "storage/StorageLocation.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <system_error>

class CloudDrive;

// The encrypting layer over the drive of one vault folder. Every operation is synchronous,
// safe from any thread, catches its own errors ("Caught error " + description) and answers
// false, nothing or an empty list. The key comes from the vault session the caller hands over;
// once that session has ended, nothing is decrypted and nothing more is written.
//
// The drive's change reports are relayed as DriveNotificationCenter::driveDidChange.
class DriveManager : public QObject, public CloudDriveObserver
{
    Q_OBJECT
    Q_PROPERTY(bool hasDrive READ hasDrive NOTIFY driveChanged)
    Q_PROPERTY(QString rootPath READ rootPath CONSTANT)

public:
    // rootPath: the folder below the tree's base ("" for the tree itself). No drive yet.
    DriveManager(StorageLocation location, const QString &rootPath, QObject *parent = nullptr);
    ~DriveManager() override;

    // A drive over path in the location's tree (unknown counts as cloud); create makes the
    // folder when missing. Nothing, after a log line, when that fails.
    static std::shared_ptr<CloudDrive> getCloudDrive(StorageLocation location, const QString &path,
                                                     bool create);

    std::shared_ptr<CloudDrive> drive() const;
    bool hasDrive() const { return drive() != nullptr; }
    StorageLocation location() const { return m_location; }
    QString rootPath() const { return m_rootPath; }
    // The drive's folder path followed by the location ("Tripslocal").
    QString description() const;

    // Opens the drive over the existing folder unless it is open already.
    void connect();
    // Removes what interrupted writes left in the folder (hidden ".lumisera-partial-…" files of a
    // crashed or killed writer; never one still being written). Call it when the folder is opened.
    // Answers how many went.
    int removeLeftovers();

    bool directoryExists(const QString &path);
    // The folder's entries of that type, hidden ones left out; each URL holds the entry's exact
    // path, even one that is not UTF-8 (NativePath).
    QList<QUrl> listItems(FileItemType type);
    // The file at path (a scrambled name), decrypted.
    std::optional<QByteArray> loadFile(const VaultSession &session, const QString &path);
    // Encrypts data into the folder under name (scrambled already). The file appears under its
    // name only when complete; false without a drive.
    bool saveData(const VaultSession &session, const QByteArray &data, const QString &name);
    // Stream-encrypts the file at sourcePath into the folder under name, the same way; the source
    // is left alone. False without a drive; failure then gets the error of the file call that
    // failed, when one did (a full disk, say), or operation_canceled when progress or the end of
    // the session stopped it.
    bool importFile(const VaultSession &session, const QString &sourcePath, const QString &name,
                    std::error_code *failure = nullptr, const FileEncryptor::ProgressHandler &progress = {});
    // The name (scrambled already) to try at each attempt; nothing when there is no other.
    using NameCandidates = std::function<std::optional<QString>(int attempt)>;
    // The same under the first of the names that no entry of the folder has when the file is
    // complete: a name another writer took meanwhile is never replaced, the next one is tried.
    // Answers the attempt whose name the file got.
    std::optional<int> importFileAs(const VaultSession &session, const QString &sourcePath,
                                    const NameCandidates &names, std::error_code *failure = nullptr,
                                    const FileEncryptor::ProgressHandler &progress = {});
    // Deletes the folder with everything in it, then detaches. False without a drive.
    bool removeFolder();
    // Lets the drive go; no report reaches this manager afterwards.
    void detach();

    // The change relay: drops ".DS_Store", nested paths and the hidden files of writes in
    // progress, then emits DriveNotificationCenter::driveDidChange when anything is left.
    void cloudDrive(CloudDrive &drive, const QList<RootRelativePath> &didChangeItemsAt) override;
    // The names of a report that are worth relaying.
    static QStringList relayedNames(const QList<RootRelativePath> &paths);

Q_SIGNALS:
    void driveChanged();
    void locationChanged();

private:
    void setDrive(std::shared_ptr<CloudDrive> drive);

    const StorageLocation m_location;
    const QString m_rootPath;
    mutable QMutex m_driveMutex;
    std::shared_ptr<CloudDrive> m_drive;
    QMutex m_connectMutex;
};

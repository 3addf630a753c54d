#pragma once

#include "drive/CoordinatedFileManager.h"
#include "drive/RootRelativePath.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <utility>

class CloudDriveObserver;
class FileMonitor;
class PartialFile;
class TreeFolder;

// The file layer under one vault tree: one root folder, either below a folder on this device or
// in the cloud container (AppPaths::cloudContainer(), a folder a sync client keeps in sync).
// Operations are synchronous and may run on any thread; each addresses items by paths relative to
// the root and throws CloudDriveError for the drive's own refusals and FileSystemError for
// failures of the file calls. The drive logs nothing.
//
// A cloud drive is connected exactly while the container folder exists (read afresh at every
// call): when it goes away every later operation throws queriedWhileNotConnected.
//
// Sync clients and other machines write into the trees, so no operation follows a symbolic link
// from the tree's base folder down (TreeFolder): a link is never listed as a file or a folder,
// opened, written through or watched, and removing one removes the link. Only the path up to the
// base (the CloudContainer link the person made) is followed.
class CloudDrive
{
public:
    struct Storage
    {
        enum class Kind { cloudContainer, localDirectory };

        // No identifier means the application's own container; Linux has no other.
        static Storage cloudContainer(const std::optional<QString> &containerIdentifier = std::nullopt);
        // rootURL: an absolute folder path on this device.
        static Storage localDirectory(const QString &rootURL);

        Kind kind = Kind::localDirectory;
        std::optional<QString> containerIdentifier;
        QString rootURL;
    };

    // Opens the drive; unless skipCreate, makes the root folder (and any missing parents).
    // Throws notSignedIntoCloud / couldNotAccessUbiquityContainer for a cloud drive without its
    // container, rootDirectoryURLIsNotDirectory when the root is a file, invalidFileType when the
    // relative path would leave the base, FileSystemError when the folder cannot be made.
    CloudDrive(const Storage &storage, const QString &relativePathToRoot, bool skipCreate = false);
    // A drive in the cloud container.
    CloudDrive(const std::optional<QString> &ubiquityContainerIdentifier,
               const QString &relativePathToRootInContainer, bool skipCreate = false);
    ~CloudDrive();
    CloudDrive(const CloudDrive &) = delete;
    CloudDrive &operator=(const CloudDrive &) = delete;

    const Storage &storage() const { return m_storage; }
    std::optional<QString> ubiquityContainerIdentifier() const;
    const QString &relativePathToRoot() const { return m_relativePathToRoot; }
    const QString &relativePathToRootInContainer() const { return m_relativePathToRoot; }
    // Absolute, ending with "/".
    const QString &rootDirectory() const { return m_rootDirectory; }
    bool isConnected() const;

    // Not owned. Setting it waits for a report that is being delivered, so once set to null the
    // previous observer is never called again.
    CloudDriveObserver *observer() const;
    void setObserver(CloudDriveObserver *observer);

    // A regular file, or a real folder, is at path (links and special files are neither).
    bool fileExists(const RootRelativePath &path) const;
    bool directoryExists(const RootRelativePath &path) const;
    // Absolute paths of the folder's entries.
    QStringList contentsOfDirectory(const RootRelativePath &path, HiddenFiles hiddenFiles) const;
    QList<DirectoryEntry> entriesOfDirectory(const RootRelativePath &path, HiddenFiles hiddenFiles) const;
    void createDirectory(const RootRelativePath &path) const;
    // Both throw invalidFileType unless the item exists and is of the expected kind; any entry
    // that is not a folder (a link, a FIFO) counts as a file and is removed itself.
    void removeDirectory(const RootRelativePath &path) const;
    void removeFile(const RootRelativePath &path) const;
    // The same for a file directly in the root, by the exact path its listing gave
    // (DirectoryEntry::nativePath), which need not be UTF-8.
    void removeListedFile(const QByteArray &nativePath) const;
    // At most maxBytes + 1 bytes of the regular file directly in the root that the listing gave.
    QByteArray readListedFile(const QByteArray &nativePath, qint64 maxBytes) const;
    QByteArray readFile(const RootRelativePath &path) const;
    void readFile(const RootRelativePath &path, const CoordinatedFileManager::AccessBlock &block) const;
    void updateFile(const RootRelativePath &path, const CoordinatedFileManager::AccessBlock &block) const;
    // Replaces the file; it appears complete or not at all.
    void writeFile(const QByteArray &data, const RootRelativePath &path) const;
    // A new file on its way into folder (see PartialFile::commitAs()); name is checked and
    // trimmed as targetURL() does.
    std::unique_ptr<PartialFile> newFile(const QString &name, const RootRelativePath &folder) const;
    // Files only; each fails when something is at the target already.
    void copy(const RootRelativePath &from, const RootRelativePath &to) const;
    // Copies an outside file into the folder `to`, under the file's own name.
    void upload(const QString &sourcePath, const RootRelativePath &to) const;
    // Copies an item to an outside path.
    void download(const RootRelativePath &from, const QString &targetPath) const;
    // Where a file called name lies in folder. The name is trimmed of white space; an empty name,
    // ".", "..", or one holding "/" or NUL throws invalidFileType. Works while disconnected.
    QString targetURL(const QString &name, const RootRelativePath &folder) const;
    // Removes the crash leftovers of interrupted writes (see PartialFile) in folder; answers how
    // many went. Call it when a folder is opened.
    int removeLeftoverPartials(const RootRelativePath &folder) const;

    // The checks of targetURL() for one file name.
    static void checkFileName(const QString &name);

private:
    struct ObserverSlot;

    // No file of the vault is read whole beyond this.
    static constexpr qint64 wholeFileLimit = qint64(1) << 40;

    void prepareRoot(bool skipCreate);
    QString itemFile(const RootRelativePath &path) const;
    TreeFolder rootFolder() const;
    TreeFolder folderAt(const RootRelativePath &path) const;
    // The folder holding path's last component, and that component.
    std::pair<TreeFolder, QByteArray> entryAt(const RootRelativePath &path) const;
    std::optional<struct stat> statusOf(const RootRelativePath &path) const;
    QByteArray listedName(const QByteArray &nativePath) const;
    void checkConnected() const;

    Storage m_storage;
    QString m_relativePathToRoot;
    QString m_baseDirectory; // the tree's base: the documents folder, or the container's Documents
    QByteArray m_base;
    QByteArrayList m_rootComponents;
    QString m_rootDirectory;
    std::shared_ptr<ObserverSlot> m_observer;
    std::unique_ptr<FileMonitor> m_fileMonitor;
};

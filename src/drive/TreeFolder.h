#pragma once

#include "core/UniqueFd.h"
#include "drive/CoordinatedFileManager.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

#include <optional>
#include <sys/stat.h>

// A folder inside a vault tree, held open and reached without following a symbolic link. The
// trees are written by sync clients and other machines: a link synced into one (to the home
// folder, say) must never lead a listing, a read, a write or a removal outside the vault. Every
// call goes from the folder's own descriptor (openat() and friends) and never follows a link in
// the entry it names; a link, FIFO, socket or device is an entry of its own, removed as such.
//
// Names are the exact bytes of one path component. Failures throw FileSystemError; a link where a
// folder is expected fails with ENOTDIR, a link or special file where a regular file is expected
// with ELOOP or EINVAL.
class TreeFolder
{
public:
    // The folder at `components` below `base`. The path up to the base's last component is the
    // person's own (the home folder, the CloudContainer link) and is followed; the base folder itself
    // and each component below it must be real folders.
    static TreeFolder open(const QByteArray &base, const QByteArrayList &components = {});
    // The path's components, split on "/" (empty ones dropped).
    static QByteArrayList componentsOf(const QString &relativePath);

    TreeFolder(TreeFolder &&) = default;
    TreeFolder &operator=(TreeFolder &&) = default;

    int fd() const { return m_fd.get(); }
    // Without a trailing "/"; for messages and for the paths of listed entries.
    const QByteArray &path() const { return m_path; }
    QByteArray pathOf(const QByteArray &name) const;

    // The entry as lstat() sees it; nothing when there is none.
    std::optional<struct stat> status(const QByteArray &name) const;
    // The sub-folder `name`, which must be a real folder.
    TreeFolder folder(const QByteArray &name) const;
    // The sub-folder, made (mode 0700) when missing.
    TreeFolder makeFolder(const QByteArray &name) const;
    // The regular file `name`, open for reading; never blocks on a FIFO or opens a device.
    UniqueFd openFile(const QByteArray &name) const;
    // At most maxBytes + 1 bytes of the regular file, so that the caller can tell a longer one.
    QByteArray readFile(const QByteArray &name, qint64 maxBytes) const;
    // Removes the entry itself: a file, link or special file by unlinking it, a folder with
    // everything in it (links inside are removed, never followed).
    void remove(const QByteArray &name) const;
    // The entries, "." and ".." left out, with their kinds as lstat() would give them.
    QList<DirectoryEntry> entries(HiddenFiles hiddenFiles) const;

private:
    TreeFolder(UniqueFd fd, const QByteArray &path) : m_fd(std::move(fd)), m_path(path) {}
    void removeContents() const;

    UniqueFd m_fd;
    QByteArray m_path;
};

#include "storage/VaultCheck.h"

#include "core/AppPaths.h"
#include "core/UniqueFd.h"
#include "drive/PartialFile.h"
#include "drive/TreeFolder.h"
#include "security/FileEncryptor.h"
#include "storage/FileNaming.h"
#include "storage/PinEntry.h"
#include "storage/SyncConflictName.h"
#include "storage/TreeKeyCheck.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 blockSize = 16;
// Progress is told this often; a report per file would cost more than the file.
constexpr qint64 progressEvery = 64;

std::optional<QString> utf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Bytes that are not UTF-8 as \xNN, so that the name can be told and typed.
QString escaped(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x80 && value >= 0x20)
            text.append(QLatin1Char(byte));
        else
            text.append(QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0')));
    }
    return text;
}

QByteArray lastComponent(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool isPinEntryName(const QString &name)
{
    return FileNaming::shownName(name).fullName().compare(FileNaming::pinFileName(), Qt::CaseInsensitive) ==
           0;
}

bool readTail(int fd, qint64 size, QByteArray &tail)
{
    const qint64 wanted = size >= 2 * blockSize ? 2 * blockSize : blockSize;
    tail.resize(wanted);
    qint64 done = 0;
    while (done < wanted) {
        const ssize_t count =
            ::pread(fd, tail.data() + done, size_t(wanted - done), off_t(size - wanted + done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return true;
}

// One walk over one tree: the report it fills, and what it needs at every entry.
class TreeWalk
{
public:
    TreeWalk(StorageLocation location, const QString &passcode, VaultCheck::Report &report,
             const std::atomic_bool *cancel, const VaultCheck::Progress &progress)
        : m_location(location), m_passcode(passcode), m_report(report), m_cancel(cancel), m_progress(progress)
    {}

    void add(VaultCheck::Kind kind, const QString &name)
    {
        m_report.findings.append({kind, m_location, name});
    }

    void walk(const TreeFolder &folder, const QByteArray &relative)
    {
        QList<DirectoryEntry> entries;
        try {
            entries = folder.entries(HiddenFiles::include);
        } catch (const std::exception &) {
            add(VaultCheck::Kind::unreadableFolder, VaultCheck::shownPath(relative, false));
            return;
        }
        // Sorted, so that a report reads the same every time.
        std::sort(entries.begin(), entries.end(), [](const DirectoryEntry &a, const DirectoryEntry &b) {
            return a.nativePath < b.nativePath;
        });
        for (const DirectoryEntry &entry : std::as_const(entries)) {
            if (m_cancel && m_cancel->load()) {
                m_report.cancelled = true;
                return;
            }
            const QByteArray name = lastComponent(entry.nativePath);
            if (relative.isEmpty() && name == QFile::encodeName(TreeKeyCheck::entryName))
                continue;
            const QByteArray path = relative.isEmpty() ? name : relative + '/' + name;
            look(folder, name, path, entry.kind);
            if (m_report.cancelled)
                return;
        }
    }

private:
    void look(const TreeFolder &folder, const QByteArray &name, const QByteArray &path,
              DirectoryEntry::Kind kind)
    {
        const std::optional<QString> decoded = utf8(name);
        const bool hidden = name.startsWith('.');
        if (!decoded)
            add(VaultCheck::Kind::undecodableName, VaultCheck::shownPath(path, false));
        if (kind == DirectoryEntry::Kind::other) {
            const std::optional<struct stat> status = folder.status(name);
            if (status)
                add(S_ISLNK(status->st_mode) ? VaultCheck::Kind::link : VaultCheck::Kind::specialFile,
                    VaultCheck::shownPath(path, !hidden));
            return;
        }
        if (kind == DirectoryEntry::Kind::directory) {
            // A sync client's own hidden folders (versions, trash) are not the vault's.
            if (hidden)
                return;
            std::optional<TreeFolder> child;
            try {
                child.emplace(folder.folder(name));
            } catch (const std::exception &) {
                add(VaultCheck::Kind::unreadableFolder, VaultCheck::shownPath(path, false));
                return;
            }
            walk(*child, path);
            return;
        }
        if (hidden) {
            if (decoded && PartialFile::isPartialName(*decoded) && isLeftOver(folder, name))
                add(VaultCheck::Kind::partialFile, VaultCheck::shownPath(path, false));
            return;
        }
        if (decoded && SyncConflictName::parse(*decoded))
            add(VaultCheck::Kind::conflictCopy, VaultCheck::shownPath(path, true));
        if (decoded && isPinEntryName(*decoded)) {
            checkPinEntry(folder, name, path);
            return;
        }
        checkFile(folder, name, path);
    }

    // Whether the partial file's writer is gone: a live one holds its lock.
    static bool isLeftOver(const TreeFolder &folder, const QByteArray &name)
    {
        try {
            const UniqueFd file = folder.openFile(name);
            return ::flock(file.get(), LOCK_SH | LOCK_NB) == 0;
        } catch (const std::exception &) {
            return false; // gone meanwhile: committed or removed
        }
    }

    void checkPinEntry(const TreeFolder &folder, const QByteArray &name, const QByteArray &path)
    {
        bool readable = false;
        try {
            readable = !PinEntry::fromEncrypted(folder.readFile(name, PinEntry::maxEntryBytes), m_passcode)
                            .isUnreadable();
        } catch (const std::exception &) {
            readable = false;
        }
        if (!readable)
            add(VaultCheck::Kind::unreadablePin, VaultCheck::shownPath(path, true));
    }

    void checkFile(const TreeFolder &folder, const QByteArray &name, const QByteArray &path)
    {
        bool valid = false;
        try {
            const UniqueFd file = folder.openFile(name);
            struct stat status
            {
            };
            QByteArray tail;
            if (::fstat(file.get(), &status) == 0) {
                ++m_report.files;
                m_report.bytes += status.st_size;
                valid = status.st_size > 0 && status.st_size % blockSize == 0 &&
                        readTail(file.get(), status.st_size, tail) &&
                        FileEncryptor::paddingLength(status.st_size, tail, m_passcode).has_value();
            }
        } catch (const std::exception &) {
            valid = false;
        }
        if (!valid)
            add(VaultCheck::Kind::undecryptable, VaultCheck::shownPath(path, true));
        if (m_progress && m_report.files % progressEvery == 0)
            m_progress(m_report.files, m_report.bytes);
    }

    const StorageLocation m_location;
    const QString &m_passcode;
    VaultCheck::Report &m_report;
    const std::atomic_bool *m_cancel;
    const VaultCheck::Progress &m_progress;
};

} // namespace

QList<VaultCheck::Kind> VaultCheck::kinds()
{
    return {Kind::otherPasscode, Kind::damagedKeyCheck, Kind::danglingContainer, Kind::unreadableFolder,
            Kind::undecryptable, Kind::unreadablePin,   Kind::undecodableName,   Kind::link,
            Kind::specialFile,   Kind::partialFile,     Kind::conflictCopy};
}

int VaultCheck::Report::count(Kind kind) const
{
    return int(std::count_if(findings.cbegin(), findings.cend(),
                             [kind](const Finding &finding) { return finding.kind == kind; }));
}

QString VaultCheck::kindText(Kind kind)
{
    switch (kind) {
    case Kind::undecryptable:
        return tr("Files that do not decrypt with the passcode");
    case Kind::unreadablePin:
        return tr("PIN entries that cannot be read");
    case Kind::undecodableName:
        return tr("Names that do not decode");
    case Kind::link:
        return tr("Symbolic links");
    case Kind::specialFile:
        return tr("Special files (FIFOs, sockets, devices)");
    case Kind::partialFile:
        return tr("Leftovers of interrupted writes");
    case Kind::conflictCopy:
        return tr("Sync-conflict copies");
    case Kind::danglingContainer:
        return tr("A CloudContainer link that leads nowhere");
    case Kind::unreadableFolder:
        return tr("Folders that cannot be read");
    case Kind::otherPasscode:
        return tr("Trees written with another passcode");
    case Kind::damagedKeyCheck:
        return tr("Damaged key-check entries");
    }
    return QString();
}

QString VaultCheck::shownPath(const QByteArray &storedPath, bool unscramble)
{
    const QByteArrayList parts = storedPath.split('/');
    QStringList shown;
    for (qsizetype index = 0; index < parts.size(); ++index) {
        const std::optional<QString> decoded = utf8(parts.at(index));
        if (!decoded)
            shown.append(escaped(parts.at(index)));
        else if (unscramble && index == parts.size() - 1)
            shown.append(FileNaming::shownName(*decoded).fullName());
        else
            shown.append(*decoded);
    }
    return shown.join(u'/');
}

void VaultCheck::checkTree(const QString &treeRoot, StorageLocation location, const QString &passcode,
                           Report &report, const std::atomic_bool *cancel, const Progress &progress)
{
    report.trees.append(location);
    TreeWalk walk(location, passcode, report, cancel, progress);
    struct stat rootStatus
    {
    };
    // A tree never written to has no folder yet: nothing is wrong with it.
    if (::lstat(QFile::encodeName(treeRoot).constData(), &rootStatus) != 0 && errno == ENOENT)
        return;
    const TreeKeyCheck::State keyCheck = TreeKeyCheck::state(treeRoot, passcode);
    if (keyCheck == TreeKeyCheck::State::otherPasscode)
        walk.add(Kind::otherPasscode, TreeKeyCheck::entryName);
    else if (keyCheck == TreeKeyCheck::State::unreadable)
        walk.add(Kind::damagedKeyCheck, TreeKeyCheck::entryName);
    std::optional<TreeFolder> root;
    try {
        root.emplace(TreeFolder::open(QFile::encodeName(treeRoot)));
    } catch (const std::exception &) {
        walk.add(Kind::unreadableFolder, treeRoot);
        return;
    }
    walk.walk(*root, QByteArray());
    if (progress)
        progress(report.files, report.bytes);
}

VaultCheck::Report VaultCheck::run(const QList<StorageLocation> &trees, const QString &passcode,
                                   const std::atomic_bool *cancel, const Progress &progress)
{
    Report report;
    for (const StorageLocation location : trees) {
        if (report.cancelled)
            break;
        if (location == StorageLocation::cloud) {
            const QString container = AppPaths::cloudContainer();
            const QByteArray native = QFile::encodeName(container);
            struct stat status
            {
            };
            if (::lstat(native.constData(), &status) != 0)
                continue; // no cloud tree set up
            if (S_ISLNK(status.st_mode) && ::stat(native.constData(), &status) != 0) {
                report.trees.append(location);
                report.findings.append({Kind::danglingContainer, location, container});
                continue;
            }
        }
        checkTree(TreeKeyCheck::treeRoot(location), location, passcode, report, cancel, progress);
    }
    return report;
}

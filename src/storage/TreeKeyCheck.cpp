#include "storage/TreeKeyCheck.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "drive/PartialFile.h"
#include "drive/TreeFolder.h"
#include "security/FileEncryptor.h"

#include <QDir>
#include <QFile>

#include <optional>
#include <sys/stat.h>

namespace {

// Fixed, so that any installation can tell its passcode from another one.
const QByteArray knownText = QByteArrayLiteral("Lumisera key check 1\n");
constexpr qint64 blockSize = 16;

QByteArray entryBytes()
{
    return QFile::encodeName(TreeKeyCheck::entryName);
}

void logCaught(const std::exception &error)
{
    errorMsg(QStringLiteral("Caught error ") + QString::fromUtf8(error.what()));
}

TreeFolder openRoot(const QString &treeRoot)
{
    return TreeFolder::open(QFile::encodeName(QDir::cleanPath(treeRoot)));
}

TreeKeyCheck::State judge(const TreeFolder &root, const QString &passcode)
{
    using State = TreeKeyCheck::State;
    const std::optional<struct stat> entry = root.status(entryBytes());
    if (!entry)
        return State::absent;
    if (!S_ISREG(entry->st_mode) || entry->st_size > TreeKeyCheck::maxEntryBytes)
        return State::unreadable;
    const QByteArray bytes = root.readFile(entryBytes(), TreeKeyCheck::maxEntryBytes);
    if (bytes.isEmpty() || bytes.size() > TreeKeyCheck::maxEntryBytes || bytes.size() % blockSize != 0)
        return State::unreadable;
    // The cipher has no IV to vary: the same passcode always gives the same bytes, and a wrong one
    // that happens to decrypt to valid padding is still told apart.
    return bytes == TreeKeyCheck::encryptedEntry(passcode) ? State::matches : State::otherPasscode;
}

// What beforeWrite() remembers of the entry: enough that a replaced or rewritten entry differs.
QByteArray stampOf(const struct stat &entry)
{
    return QByteArray::number(qulonglong(entry.st_dev)) + ':' + QByteArray::number(qulonglong(entry.st_ino)) +
           ':' + QByteArray::number(qlonglong(entry.st_size)) + ':' +
           QByteArray::number(qlonglong(entry.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(entry.st_mtim.tv_nsec)) + ':' +
           QByteArray::number(qlonglong(entry.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(entry.st_ctim.tv_nsec));
}

} // namespace

QString TreeKeyCheck::treeRoot(StorageLocation location)
{
    if (location == StorageLocation::local)
        return AppPaths::documentsDirectory();
    return AppPaths::cloudContainer() + QStringLiteral("/Documents");
}

QByteArray TreeKeyCheck::encryptedEntry(const QString &passcode)
{
    return FileEncryptor::encrypt(knownText, passcode).value_or(QByteArray());
}

QString TreeKeyCheck::otherPasscodeText()
{
    return tr("This folder tree was written with another passcode");
}

QString TreeKeyCheck::unreadableText()
{
    return tr("The key-check entry of this folder tree (%1) is damaged, so Lumisera cannot tell which "
              "passcode the tree was written with and writes nothing there")
        .arg(entryName);
}

QString TreeKeyCheck::refusalText(State state)
{
    switch (state) {
    case State::otherPasscode:
        return otherPasscodeText();
    case State::unreadable:
        return unreadableText();
    case State::absent:
    case State::matches:
        break;
    }
    return QString();
}

TreeKeyCheck::State TreeKeyCheck::state(const QString &treeRoot, const QString &passcode)
{
    struct stat rootStatus
    {
    };
    if (::lstat(QFile::encodeName(treeRoot).constData(), &rootStatus) != 0 && errno == ENOENT)
        return State::absent;
    try {
        return judge(openRoot(treeRoot), passcode);
    } catch (const std::exception &error) {
        logCaught(error);
        return State::unreadable;
    }
}

QString TreeKeyCheck::ensure(const QString &treeRoot, const QString &passcode)
{
    try {
        const TreeFolder root = openRoot(treeRoot);
        // A second round only when another writer put an entry there while this one was written.
        for (int round = 0; round < 2; ++round) {
            const State found = judge(root, passcode);
            if (found != State::absent)
                return refusalText(found);
            const QByteArray bytes = encryptedEntry(passcode);
            if (bytes.isEmpty())
                return tr("The key-check entry could not be encrypted");
            PartialFile partial(root, entryName);
            partial.write(bytes);
            if (partial.commitAs(entryName))
                return QString();
        }
        return refusalText(judge(root, passcode));
    } catch (const std::exception &error) {
        logCaught(error);
        return tr("The key-check entry of this folder tree could not be written: %1")
            .arg(QString::fromUtf8(error.what()));
    }
}

QString TreeKeyCheck::write(const QString &treeRoot, const QString &passcode)
{
    try {
        const TreeFolder root = openRoot(treeRoot);
        const std::optional<struct stat> entry = root.status(entryBytes());
        if (entry && !S_ISREG(entry->st_mode))
            return tr("The key-check entry of this folder tree (%1) is not a file; move it aside first")
                .arg(entryName);
        const QByteArray bytes = encryptedEntry(passcode);
        if (bytes.isEmpty())
            return tr("The key-check entry could not be encrypted");
        PartialFile partial(root, entryName);
        partial.write(bytes);
        partial.commit();
        return QString();
    } catch (const std::exception &error) {
        logCaught(error);
        return tr("The key-check entry of this folder tree could not be written: %1")
            .arg(QString::fromUtf8(error.what()));
    }
}

QString TreeKeyCheck::beforeWrite(StorageLocation location, const VaultSession &session)
{
    const std::optional<QString> key = session.key();
    if (!key)
        return tr("The vault locked");
    const QString root = treeRoot(location);
    struct stat entry
    {
    };
    const QByteArray path = QFile::encodeName(root + u'/' + entryName);
    const QByteArray remembered = session.rememberedTree(root);
    // Taken before the entry is judged: an entry replaced meanwhile then differs next time.
    const bool existed = ::lstat(path.constData(), &entry) == 0 && S_ISREG(entry.st_mode);
    const QByteArray before = existed ? stampOf(entry) : QByteArray();
    if (!remembered.isEmpty() && before == remembered)
        return QString();
    const QString refusal = ensure(root, *key);
    if (!refusal.isEmpty()) {
        errorMsg(QStringLiteral("Refused to write into the ") + rawValue(location) +
                 QStringLiteral(" tree: ") + refusal);
        return refusal;
    }
    if (existed)
        session.rememberTree(root, before);
    else if (::lstat(path.constData(), &entry) == 0 && S_ISREG(entry.st_mode))
        session.rememberTree(root, stampOf(entry));
    return QString();
}

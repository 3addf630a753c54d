#include "storage/PasscodeChangeJournal.h"

#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "security/Rekey.h"
#include "security/SecretWipe.h"

#include <QFile>
#include <QStringBuilder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Header = QByteArrayLiteral("lumisera-passcode-change 1");
const QByteArray CheckText = QByteArrayLiteral("Lumisera passcode change check value");
const QString FileName = QStringLiteral("passcode-change");

QByteArray phaseName(PasscodeChangeJournal::Phase phase)
{
    switch (phase) {
    case PasscodeChangeJournal::Phase::files:
        return QByteArrayLiteral("files");
    case PasscodeChangeJournal::Phase::keyCheck:
        return QByteArrayLiteral("keycheck");
    case PasscodeChangeJournal::Phase::store:
        return QByteArrayLiteral("store");
    }
    return {};
}

bool syncFolder(const QString &folder)
{
    const UniqueFd fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.isValid() && ::fsync(fd.get()) == 0;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool lockExclusively(const UniqueFd &fd)
{
    for (;;) {
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

} // namespace

QString PasscodeChangeJournal::path()
{
    return AppPaths::dataDirectory() % u'/' % FileName;
}

bool PasscodeChangeJournal::exists()
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path()).constData(), &status) == 0;
}

QByteArray PasscodeChangeJournal::fileKey(const QByteArray &tree, const QByteArray &folder,
                                          const QByteArray &name)
{
    return tree + '/' + folder + '/' + name;
}

std::optional<PasscodeChangeJournal> PasscodeChangeJournal::begin(const QString &newPasscode, QString &error)
{
    const QString folder = AppPaths::dataDirectory();
    if (!AppPaths::makePrivateFolders(folder)) {
        error = tr("The data folder %1 cannot be made.").arg(folder);
        return std::nullopt;
    }
    const std::optional<QByteArray> check = FileEncryptor::encrypt(CheckText, newPasscode);
    if (!check) {
        error = tr("The new passcode cannot be used.");
        return std::nullopt;
    }
    const QByteArray contents =
        Header + '\n' + "check " + check->toBase64() + '\n' + "phase " + phaseName(Phase::files) + '\n';
    // Written whole under a temporary name, so that the journal never exists half made.
    const QByteArray temporary = QFile::encodeName(path() + QStringLiteral(".new"));
    ::unlink(temporary.constData());
    UniqueFd fd(::open(temporary.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.isValid() || !fd.writeAll(contents.constData(), contents.size()) || ::fsync(fd.get()) != 0) {
        error = tr("The passcode change cannot be recorded in %1: %2").arg(folder, systemError());
        ::unlink(temporary.constData());
        return std::nullopt;
    }
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, QFile::encodeName(path()).constData(),
                    RENAME_NOREPLACE) != 0) {
        const bool taken = errno == EEXIST;
        error = taken ? tr("A passcode change is unfinished; finish it first.")
                      : tr("The passcode change cannot be recorded in %1: %2").arg(folder, systemError());
        ::unlink(temporary.constData());
        return std::nullopt;
    }
    if (!syncFolder(folder)) {
        error = tr("The passcode change cannot be recorded in %1: %2").arg(folder, systemError());
        return std::nullopt;
    }
    fd.close();
    return open(error);
}

std::optional<PasscodeChangeJournal> PasscodeChangeJournal::open(QString &error)
{
    UniqueFd fd(::open(QFile::encodeName(path()).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.isValid()) {
        error = errno == ENOENT
                    ? tr("No passcode change is unfinished.")
                    : tr("The passcode change record %1 cannot be opened: %2").arg(path(), systemError());
        return std::nullopt;
    }
    if (!lockExclusively(fd)) {
        error = tr("The passcode is being changed by another program.");
        return std::nullopt;
    }
    return load(std::move(fd), error);
}

std::optional<PasscodeChangeJournal> PasscodeChangeJournal::load(UniqueFd fd, QString &error)
{
    QByteArray contents;
    char buffer[65536];
    for (;;) {
        const ssize_t length = ::read(fd.get(), buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length < 0) {
            error = tr("The passcode change record %1 cannot be read: %2").arg(path(), systemError());
            return std::nullopt;
        }
        if (length == 0)
            break;
        contents.append(buffer, length);
    }
    PasscodeChangeJournal journal;
    // A line a crash cut short was never made durable, so nothing relied on it: drop it.
    const qsizetype complete = contents.lastIndexOf('\n') + 1;
    if (complete < contents.size() && ::ftruncate(fd.get(), complete) != 0) {
        error = tr("The passcode change record %1 cannot be repaired: %2").arg(path(), systemError());
        return std::nullopt;
    }
    if (!journal.parse(contents.left(complete))) {
        error = tr("The passcode change record %1 is damaged.").arg(path());
        return std::nullopt;
    }
    if (::lseek(fd.get(), 0, SEEK_END) < 0) {
        error = tr("The passcode change record %1 cannot be read: %2").arg(path(), systemError());
        return std::nullopt;
    }
    journal.m_fd = std::move(fd);
    return journal;
}

bool PasscodeChangeJournal::parse(const QByteArray &contents)
{
    const QList<QByteArray> lines = contents.split('\n');
    if (lines.isEmpty() || lines.first() != Header)
        return false;
    for (const QByteArray &line : lines.mid(1)) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.first() == "check" && fields.size() == 2) {
            m_check = QByteArray::fromBase64(fields.at(1));
        } else if (fields.first() == "phase" && fields.size() == 2) {
            for (const Phase phase : {Phase::files, Phase::keyCheck, Phase::store})
                if (fields.at(1) == phaseName(phase))
                    m_phase = phase;
        } else if (fields.first() == "file" && fields.size() == 4) {
            bool sized = false;
            const qint64 size = fields.at(2).toLongLong(&sized);
            if (sized)
                m_fingerprints.insert(QByteArray::fromBase64(fields.at(1)),
                                      {size, QByteArray::fromBase64(fields.at(3))});
        }
    }
    return !m_check.isEmpty();
}

bool PasscodeChangeJournal::verifies(const QString &typed) const
{
    // The cipher is deterministic (zero IV): the same passcode gives the same check value, and
    // nothing is decrypted, so another passcode leaves no decryption failure in the log.
    const std::optional<QByteArray> expected = FileEncryptor::encrypt(CheckText, typed);
    return expected && !m_check.isEmpty() && *expected == m_check;
}

bool PasscodeChangeJournal::append(const QByteArray &lines)
{
    return m_fd.writeAll(lines.constData(), lines.size()) && ::fdatasync(m_fd.get()) == 0;
}

bool PasscodeChangeJournal::setPhase(Phase phase)
{
    if (!append("phase " + phaseName(phase) + '\n'))
        return false;
    m_phase = phase;
    return true;
}

bool PasscodeChangeJournal::record(const QList<Entry> &entries)
{
    if (entries.isEmpty())
        return true;
    QByteArray lines;
    for (const Entry &entry : entries)
        lines += "file " + entry.file.toBase64() + ' ' + QByteArray::number(entry.fingerprint.size) + ' ' +
                 entry.fingerprint.tail.toBase64() + '\n';
    if (!append(lines))
        return false;
    for (const Entry &entry : entries)
        m_fingerprints.insert(entry.file, entry.fingerprint);
    return true;
}

std::optional<PasscodeChangeJournal::Fingerprint>
PasscodeChangeJournal::fingerprint(const QByteArray &file) const
{
    const auto found = m_fingerprints.constFind(file);
    if (found == m_fingerprints.constEnd())
        return std::nullopt;
    return *found;
}

bool PasscodeChangeJournal::finish()
{
    if (::unlink(QFile::encodeName(path()).constData()) != 0 && errno != ENOENT)
        return false;
    m_fd.close();
    return syncFolder(AppPaths::dataDirectory());
}

#include "security/FileCredentialBackend.h"

#include "core/AppPaths.h"
#include "core/UniqueFd.h"
#include "security/SecretWipe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype MaximumFileSize = 64 * 1024;
constexpr int DamagedFile = -2;

CredentialResult systemFailure(const QString &what)
{
    const int error = errno;
    return CredentialResult::failure(error, what + QStringLiteral(": ") +
                                                QString::fromLocal8Bit(std::strerror(error)));
}

// Flushes the folder holding path, so that a rename or removal there survives a power cut.
bool syncFolderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    const UniqueFd fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.isValid() && ::fsync(fd.get()) == 0;
}

// A temporary file that is removed unless it was renamed into place.
class PendingFile
{
public:
    // mkostemp creates the file with mode 0600: the secret is never readable by others.
    explicit PendingFile(const QString &target)
        : m_name(QFile::encodeName(target) + ".XXXXXX"), m_fd(::mkostemp(m_name.data(), O_CLOEXEC)),
          m_created(m_fd.isValid())
    {}
    ~PendingFile()
    {
        if (m_created && !m_committed)
            ::unlink(m_name.constData());
    }
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    bool isValid() const { return m_fd.isValid(); }
    bool commit(const QByteArray &content, const QByteArray &target)
    {
        if (!m_fd.writeAll(content.constData(), content.size()) || ::fsync(m_fd.get()) != 0 || !m_fd.close())
            return false;
        m_committed = ::rename(m_name.constData(), target.constData()) == 0;
        return m_committed && syncFolderOf(target);
    }

private:
    QByteArray m_name;
    UniqueFd m_fd;
    bool m_created;
    bool m_committed = false;
};

} // namespace

FileCredentialBackend::FileCredentialBackend(const QString &path) : m_path(path) {}

QString FileCredentialBackend::path() const
{
    return m_path.isEmpty() ? AppPaths::credentialsFile() : m_path;
}

CredentialResult FileCredentialBackend::read(const QString &account)
{
    const QMutexLocker locker(&m_mutex);
    std::optional<QJsonObject> items;
    const CredentialResult loaded = load(items);
    if (!loaded.succeeded())
        return loaded;
    if (!items || !items->value(account).isString())
        return CredentialResult::notFound();
    return CredentialResult::success(QByteArray::fromBase64(items->value(account).toString().toLatin1()));
}

CredentialResult FileCredentialBackend::write(const QString &account, const QByteArray &secret)
{
    const QMutexLocker locker(&m_mutex);
    std::optional<QJsonObject> items;
    const CredentialResult loaded = load(items);
    // A damaged file holds nothing that could be read back: it is replaced.
    if (!loaded.succeeded() && loaded.code != DamagedFile)
        return loaded;
    QJsonObject updated = items.value_or(QJsonObject());
    updated.insert(account, QString::fromLatin1(secret.toBase64()));
    return store(updated);
}

CredentialResult FileCredentialBackend::remove(const QString &account)
{
    const QMutexLocker locker(&m_mutex);
    std::optional<QJsonObject> items;
    const CredentialResult loaded = load(items);
    if (!loaded.succeeded())
        return loaded;
    if (!items || !items->contains(account))
        return CredentialResult::success();
    items->remove(account);
    if (!items->isEmpty())
        return store(*items);
    if (::unlink(QFile::encodeName(path()).constData()) != 0 && errno != ENOENT)
        return systemFailure(QStringLiteral("cannot remove the credentials file"));
    // The file is gone either way; the flush only makes that last.
    syncFolderOf(QFile::encodeName(path()));
    return CredentialResult::success();
}

CredentialResult FileCredentialBackend::load(std::optional<QJsonObject> &items) const
{
    items.reset();
    UniqueFd fd(::open(QFile::encodeName(path()).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.isValid())
        return errno == ENOENT ? CredentialResult::success()
                               : systemFailure(QStringLiteral("cannot open the credentials file"));
    struct stat status
    {
    };
    if (::fstat(fd.get(), &status) != 0)
        return systemFailure(QStringLiteral("cannot inspect the credentials file"));
    if (!S_ISREG(status.st_mode) || status.st_uid != ::getuid() || status.st_size > MaximumFileSize)
        return CredentialResult::failure(EPERM, QStringLiteral("the credentials file is not a private file"));
    if ((status.st_mode & 077) != 0 && ::fchmod(fd.get(), 0600) != 0)
        return systemFailure(QStringLiteral("cannot make the credentials file private"));
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return CredentialResult::failure(EIO, file.errorString());
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return CredentialResult::failure(EIO, file.errorString());
    const QJsonDocument document = QJsonDocument::fromJson(content);
    wipeSecret(content);
    if (!document.isObject())
        return CredentialResult::failure(DamagedFile, QStringLiteral("the credentials file is damaged"));
    items = document.object();
    return CredentialResult::success();
}

CredentialResult FileCredentialBackend::store(const QJsonObject &items) const
{
    const QString target = path();
    if (!AppPaths::makePrivateFolders(QFileInfo(target).absolutePath()))
        return CredentialResult::failure(ENOENT,
                                         QStringLiteral("cannot create the folder of the credentials file"));
    PendingFile pending(target);
    if (!pending.isValid())
        return systemFailure(QStringLiteral("cannot create the credentials file"));
    if (!pending.commit(QJsonDocument(items).toJson(QJsonDocument::Compact), QFile::encodeName(target)))
        return systemFailure(QStringLiteral("cannot write the credentials file"));
    return CredentialResult::success();
}

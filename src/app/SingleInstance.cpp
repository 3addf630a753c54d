#include "app/SingleInstance.h"

#include "core/AppPaths.h"
#include "core/Logging.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>

namespace {

const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
const QByteArray RaiseAnswer = QByteArrayLiteral("raised\n");
constexpr qint64 LongestLine = 64;
const QString ClaimLabel = QStringLiteral("claim()");

// Not the process's temporary directory: that one is emptied at every start, which would take
// the first instance's lock and socket away from under it.
QString privateRuntimeFolder()
{
    return AppPaths::privateRuntimeFolder(QStringLiteral("lumisera-instance"));
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(deadline.remainingTime());
}

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(key)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptClients);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    if (m_lock)
        return true;
    if (!takeLock())
        return false;
    if (m_lock)
        listen();
    return true;
}

bool SingleInstance::notifyRunning(std::chrono::milliseconds timeout)
{
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(remainingMs(deadline)))
        return false;
    socket.write(RaiseRequest);
    // Waiting to read also sends what was written.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(remainingMs(deadline)))
            return false;
    }
    return socket.readLine(LongestLine) == RaiseAnswer;
}

QString SingleInstance::socketPath() const
{
    return filePath(QStringLiteral(".socket"));
}

QString SingleInstance::filePath(const QString &suffix) const
{
    const QString folder = privateRuntimeFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + m_key + suffix;
}

// False only when another instance holds the lock; m_lock stays empty when there is no guard.
bool SingleInstance::takeLock()
{
    const QString path = filePath(QStringLiteral(".lock"));
    if (path.isEmpty()) {
        logError(QStringLiteral("no private runtime folder; running without the single-instance guard"),
                 QStringLiteral(__FILE__), ClaimLabel);
        return true;
    }
    auto lock = std::make_unique<QLockFile>(path);
    // Never stale by age: only a lock whose process is gone may be taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return true;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return false;
    logError(QStringLiteral("cannot take ") + path +
                 QStringLiteral("; running without the single-instance guard"),
             QStringLiteral(__FILE__), ClaimLabel);
    return true;
}

// Only the holder of the lock may remove a socket left by a crash.
void SingleInstance::listen()
{
    const QString path = socketPath();
    QLocalServer::removeServer(path);
    if (!m_server.listen(path))
        logError(QStringLiteral("later starts cannot reach this one: ") + m_server.errorString(),
                 QStringLiteral(__FILE__), ClaimLabel);
}

void SingleInstance::acceptClients()
{
    while (QLocalSocket *client = m_server.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readRequest(client); });
    }
}

void SingleInstance::readRequest(QLocalSocket *client)
{
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > LongestLine)
            client->abort();
        return;
    }
    if (client->readLine(LongestLine) == RaiseRequest) {
        client->write(RaiseAnswer);
        client->flush();
        Q_EMIT raiseRequested();
    }
    client->disconnectFromServer();
}

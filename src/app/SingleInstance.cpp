#include "app/SingleInstance.h"

#include "core/AppPaths.h"
#include "core/Logging.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>

#include <algorithm>

namespace {

// "raise", or "raise TOKEN", one line.
const QByteArray RaiseRequest = QByteArrayLiteral("raise");
const QByteArray RaiseAnswer = QByteArrayLiteral("raised\n");
// Tokens are a few dozen characters (a UUID, or a name and a time stamp); a longer one is no token.
constexpr qsizetype LongestToken = 400;
constexpr qint64 LongestLine = LongestToken + 16;
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

// Printable ASCII without spaces, so that it stays one word of one line.
bool isToken(const QByteArray &token)
{
    return !token.isEmpty() && token.size() <= LongestToken &&
           std::all_of(token.cbegin(), token.cend(), [](char c) { return c > ' ' && c < 0x7f; });
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

QString SingleInstance::takeActivationToken()
{
    QByteArray token;
    for (const char *name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const QByteArray value = qgetenv(name);
        qunsetenv(name);
        if (token.isEmpty() && isToken(value))
            token = value;
    }
    return QString::fromLatin1(token);
}

bool SingleInstance::notifyRunning(const QString &activationToken, std::chrono::milliseconds timeout)
{
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(remainingMs(deadline)))
        return false;
    const QByteArray token = activationToken.toLatin1();
    const QByteArray request =
        isToken(token) ? QByteArray(RaiseRequest + ' ' + token + '\n') : QByteArray(RaiseRequest + '\n');
    socket.write(request);
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
    QByteArray line = client->readLine(LongestLine + 1);
    if (!line.endsWith('\n')) {
        client->abort();
        return;
    }
    line.chop(1);
    const qsizetype space = line.indexOf(' ');
    const QByteArray word = space < 0 ? line : line.left(space);
    const QByteArray token = space < 0 ? QByteArray() : line.mid(space + 1);
    if (word == RaiseRequest && (space < 0 || isToken(token))) {
        client->write(RaiseAnswer);
        client->flush();
        Q_EMIT raiseRequested(QString::fromLatin1(token));
    }
    client->disconnectFromServer();
}

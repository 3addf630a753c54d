#include "QuoteServer.h"

QuoteServer::QuoteServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QString QuoteServer::address() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void QuoteServer::answer(const QString &path, const QByteArray &body, int status, Behaviour behaviour)
{
    m_replies.insert(path, Reply{body, status, behaviour});
}

int QuoteServer::requestCount(const QString &path) const
{
    return int(path.isEmpty() ? m_requests.size() : m_requests.count(path));
}

void QuoteServer::serve(QTcpSocket *socket)
{
    if (socket->property("served").toBool() || !socket->canReadLine())
        return;
    socket->setProperty("served", true);
    const QString path = QString::fromLatin1(socket->readLine().split(' ').value(1));
    m_requests.append(path);
    Q_EMIT requestReceived();

    const Reply reply = m_replies.value(path);
    const QByteArray head =
        "HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\nConnection: close\r\n";
    if (reply.behaviour == Behaviour::hangUp)
        return socket->abort();
    if (reply.behaviour == Behaviour::answer) {
        socket->write(head + "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n" +
                      reply.body);
        return socket->disconnectFromHost();
    }
    if (reply.behaviour == Behaviour::declaredLarge)
        socket->write(head + "Content-Length: 2000000\r\n\r\n[");
    if (reply.behaviour == Behaviour::oversized) {
        socket->write(head + "\r\n");
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { stream(socket); });
        stream(socket);
    }
}

// Spaces in 64 KiB chunks while the client reads, up to 64 MiB.
void QuoteServer::stream(QTcpSocket *socket)
{
    constexpr qint64 chunk = 64 * 1024;
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 4 * chunk)
        return;
    if (m_streamed >= 1024 * chunk)
        return socket->disconnectFromHost();
    socket->write(QByteArray(chunk, ' '));
    m_streamed += chunk;
}

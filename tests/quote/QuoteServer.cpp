#include "QuoteServer.h"

#include <QTcpSocket>

namespace {
constexpr qint64 StreamChunk = 64 * 1024;
constexpr qint64 StreamCap = 64 * 1024 * 1024; // what a client that never stops reading gets
} // namespace

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
    switch (reply.behaviour) {
    case Behaviour::answer:
        socket->write(head + "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n" +
                      reply.body);
        socket->disconnectFromHost();
        break;
    case Behaviour::hangUp:
        socket->abort();
        break;
    case Behaviour::oversized:
        socket->write(head + "\r\n");
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { stream(socket); });
        stream(socket);
        break;
    case Behaviour::declaredLarge:
        socket->write(head + "Content-Length: 2000000\r\n\r\n[");
        break;
    case Behaviour::silent:
        break;
    }
}

void QuoteServer::stream(QTcpSocket *socket)
{
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 4 * StreamChunk)
        return;
    if (m_streamed >= StreamCap)
        return socket->disconnectFromHost();
    socket->write(QByteArray(StreamChunk, ' '));
    m_streamed += StreamChunk;
}

#include "QuoteServer.h"

#include <QTcpSocket>

namespace {
constexpr qint64 StreamChunk = 64 * 1024;
// A client that does not stop reading gets all of this.
constexpr qint64 StreamCap = 64 * 1024 * 1024;
} // namespace

QuoteServer::QuoteServer(QObject *parent) : QObject(parent)
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

void QuoteServer::answer(const QString &path, int status, const QByteArray &body)
{
    m_replies.insert(path, Reply{Behaviour::answer, status, body});
}

void QuoteServer::behave(const QString &path, Behaviour behaviour)
{
    m_replies.insert(path, Reply{behaviour, 200, {}});
}

void QuoteServer::serve(QTcpSocket *socket)
{
    if (socket->property("served").toBool() || !socket->canReadLine())
        return;
    const QList<QByteArray> requestLine = socket->readLine().split(' ');
    const QString path = QString::fromLatin1(requestLine.value(1));
    socket->setProperty("served", true);
    m_requests.append(path);
    Q_EMIT requestReceived(path);

    const Reply reply = m_replies.value(path);
    switch (reply.behaviour) {
    case Behaviour::silent:
        return;
    case Behaviour::declaredLarge:
        socket->write(
            "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 2000000\r\n\r\n[");
        return;
    case Behaviour::oversized:
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n");
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { stream(socket); });
        stream(socket);
        return;
    case Behaviour::answer:
        socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(reply.status) +
                      " Status\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(reply.body.size()) + "\r\n\r\n" + reply.body);
        socket->disconnectFromHost();
        return;
    }
}

void QuoteServer::stream(QTcpSocket *socket)
{
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 4 * StreamChunk)
        return;
    if (m_streamed >= StreamCap) {
        socket->disconnectFromHost();
        return;
    }
    socket->write(QByteArray(StreamChunk, ' '));
    m_streamed += StreamChunk;
}

#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A quote service on 127.0.0.1 for tests: answers each path as told and counts the requests.
class QuoteServer : public QObject
{
    Q_OBJECT
public:
    enum class Behaviour {
        answer,        // the status and body given
        hangUp,        // closes the connection without a word
        oversized,     // 200 and more body than any client should take, without a length
        declaredLarge, // 200 with a Content-Length beyond the limit, then nothing
        silent,        // never answers
    };

    QuoteServer();
    QString address() const;
    void answer(const QString &path, const QByteArray &body, int status = 200,
                Behaviour behaviour = Behaviour::answer);

    int requestCount(const QString &path = {}) const;
    // Bytes of body streamed before the client went away.
    qint64 streamedBytes() const { return m_streamed; }

Q_SIGNALS:
    void requestReceived();

private:
    struct Reply
    {
        QByteArray body = "not found";
        int status = 404;
        Behaviour behaviour = Behaviour::answer;
    };

    void serve(QTcpSocket *socket);
    void stream(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
    QStringList m_requests;
    qint64 m_streamed = 0;
};

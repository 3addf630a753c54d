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
        oversized,     // 200, more than the client accepts, streamed without a length
        declaredLarge, // 200 with a Content-Length beyond the limit, then nothing
        silent,        // reads the request and never answers
    };

    explicit QuoteServer(QObject *parent = nullptr);

    QString address() const;
    void answer(const QString &path, int status, const QByteArray &body);
    void behave(const QString &path, Behaviour behaviour);

    int requestCount(const QString &path) const { return m_requests.count(path); }
    int requestCount() const { return int(m_requests.size()); }
    // Bytes of streamed body written before the client went away.
    qint64 streamedBytes() const { return m_streamed; }

Q_SIGNALS:
    void requestReceived(const QString &path);

private:
    struct Reply
    {
        Behaviour behaviour = Behaviour::answer;
        int status = 404;
        QByteArray body = "not found";
    };

    void serve(QTcpSocket *socket);
    void stream(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
    QStringList m_requests;
    qint64 m_streamed = 0;
};

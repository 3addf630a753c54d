#pragma once

#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A quote service on 127.0.0.1 for tests: answers each path as told and counts the requests.
class QuoteServer : public QObject
{
    Q_OBJECT
public:
    // oversized: 200 and an endless body without a length; declaredLarge: a Content-Length beyond
    // any limit, then nothing; silent: never answers.
    enum class Behaviour { answer, hangUp, oversized, declaredLarge, silent };

    QuoteServer();
    QString address() const;
    void answer(const QString &path, const QByteArray &body, int status = 200,
                Behaviour behaviour = Behaviour::answer);
    int requestCount(const QString &path = {}) const;
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

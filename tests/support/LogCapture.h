#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtMessageHandler>

// Collects the lines of the "com.morvenda.Journey" category while it lives.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines() const;
    QStringList errors() const;
    QStringList infos() const;
    bool contains(const QString &fragment) const;
    void clear();

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);

    mutable QMutex m_mutex;
    QStringList m_errors;
    QStringList m_infos;
    QtMessageHandler m_previous;
};

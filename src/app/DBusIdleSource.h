#pragma once

#include "app/IdleSource.h"

// A session-bus service that answers a method with the idle time in milliseconds:
// org.freedesktop.ScreenSaver GetSessionIdleTime (KDE), or GNOME's Mutter IdleMonitor GetIdletime.
class DBusIdleSource : public IdleSource
{
public:
    DBusIdleSource(QString service, QString path, QString interface, QString method);
    static DBusIdleSource screenSaver();
    static DBusIdleSource mutter();

    QString name() const override { return m_service; }
    void ask(QObject *context, Answer answer) override;

private:
    QString m_service;
    QString m_path;
    QString m_interface;
    QString m_method;
};

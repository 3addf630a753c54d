#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A dbus-daemon of the test's own, on which anyone may own any name, as fake services must.
// Point the bus variable at address() before the process's first D-Bus connection (libdbus
// reads it once), then start().
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    QString address() const { return m_address; }
    // False when dbus-daemon cannot run here.
    bool start();

private:
    const QTemporaryDir m_folder;
    const QString m_address;
    QProcess m_daemon;
};

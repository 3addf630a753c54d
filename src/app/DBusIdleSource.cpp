#include "app/DBusIdleSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QPointer>

#include <utility>

namespace {
// An idle-time question is asked every few seconds; a service that does not answer soon is as
// good as none.
constexpr int AnswerTimeoutMs = 2000;
} // namespace

DBusIdleSource::DBusIdleSource(QString service, QString path, QString interface, QString method)
    : m_service(std::move(service)), m_path(std::move(path)), m_interface(std::move(interface)),
      m_method(std::move(method))
{}

DBusIdleSource DBusIdleSource::screenSaver()
{
    return {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
            QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime")};
}

DBusIdleSource DBusIdleSource::mutter()
{
    return {QStringLiteral("org.gnome.Mutter.IdleMonitor"),
            QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
            QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime")};
}

void DBusIdleSource::ask(QObject *context, Answer answer)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        answer(std::nullopt);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(m_service, m_path, m_interface, m_method);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, AnswerTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answer = std::move(answer)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         const QDBusMessage reply = finished->reply();
                         bool ok = false;
                         const qulonglong ms =
                             reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                                 ? reply.arguments().constFirst().toULongLong(&ok)
                                 : 0;
                         if (ok)
                             answer(std::chrono::milliseconds(ms));
                         else
                             answer(std::nullopt);
                     });
}

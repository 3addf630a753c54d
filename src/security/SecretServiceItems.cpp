#include "security/SecretServiceItems.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QList>
#include <QVariantMap>

namespace {

const QString SecretsName = QStringLiteral("org.freedesktop.secrets");

// The answer to `call`, or an error message when none came in time.
QDBusMessage ask(const QDBusConnection &bus, QDBusMessage call, std::chrono::milliseconds timeout)
{
    // A keyring that is not running stays that way: starting one may bring up its prompt.
    call.setAutoStartService(false);
    return bus.call(call, QDBus::Block, int(timeout.count()));
}

bool isRunning(const QDBusConnection &bus, std::chrono::milliseconds timeout)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    call << SecretsName;
    const QDBusMessage reply = ask(bus, call, timeout);
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
           reply.arguments().constFirst().toBool();
}

QList<QDBusObjectPath> paths(const QVariant &argument)
{
    QList<QDBusObjectPath> result;
    if (argument.canConvert<QDBusArgument>())
        argument.value<QDBusArgument>() >> result;
    return result;
}

} // namespace

SecretServiceItems::Access SecretServiceItems::of(const QDBusConnection &bus, const QString &service,
                                                  const QString &key, std::chrono::milliseconds timeout)
{
    if (!bus.isConnected() || !isRunning(bus, timeout))
        return Access::unknown;
    QDBusMessage call = QDBusMessage::createMethodCall(
        SecretsName, QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("SearchItems"));
    qDBusRegisterMetaType<QMap<QString, QString>>();
    // The attributes QtKeychain gives its items; a search matches items that carry at least these.
    const QMap<QString, QString> attributes{{QStringLiteral("server"), service},
                                            {QStringLiteral("user"), key}};
    call << QVariant::fromValue(attributes);
    const QDBusMessage reply = ask(bus, call, timeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return Access::unknown;
    const QList<QDBusObjectPath> unlocked = paths(reply.arguments().at(0));
    const QList<QDBusObjectPath> locked = paths(reply.arguments().at(1));
    if (!locked.isEmpty())
        return Access::needsPrompt;
    return unlocked.isEmpty() ? Access::unknown : Access::withoutPrompt;
}

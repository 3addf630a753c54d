#include "FakePortal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>

namespace {
const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Root = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ChooserInterface = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
} // namespace

FakePortal::FakePortal()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")))
{
    m_ownsService =
        m_bus.registerVirtualObject(Root, this, QDBusConnection::SubPath) && m_bus.registerService(Service);
}

FakePortal::~FakePortal()
{
    if (m_bus.isConnected()) {
        m_bus.unregisterService(Service);
        m_bus.unregisterObject(Root, QDBusConnection::UnregisterTree);
    }
    QDBusConnection::disconnectFromBus(m_bus.name());
}

void FakePortal::respond(const QString &request, uint response, const QStringList &uris)
{
    QDBusMessage signal = QDBusMessage::createSignal(request, RequestInterface, QStringLiteral("Response"));
    signal << response << QVariantMap{{QStringLiteral("uris"), uris}};
    m_bus.send(signal);
}

QString FakePortal::introspect(const QString &) const
{
    return {};
}

// The request's path is made as the portal makes it, from the caller's name and its token.
bool FakePortal::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    if (message.interface() == RequestInterface && message.member() == QLatin1String("Close")) {
        m_closed.append(message.path());
        return m_bus.send(message.createReply());
    }
    if (message.interface() != ChooserInterface || message.member() != QLatin1String("OpenFile"))
        return false;
    const QVariantList arguments = message.arguments();
    Call call{arguments.value(0).toString(), arguments.value(1).toString(), {}, {}};
    call.options = qdbus_cast<QVariantMap>(arguments.value(2));
    QString sender = message.service().mid(1);
    sender.replace(u'.', u'_');
    call.request = Root + QStringLiteral("/request/") + sender + u'/' +
                   call.options.value(QStringLiteral("handle_token")).toString();
    m_calls.append(call);
    return m_bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(call.request))));
}

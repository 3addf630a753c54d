#include "FakeFprintd.h"

#include <QDBusObjectPath>

namespace {
const QString Service = QStringLiteral("net.reactivated.Fprint");
const QString Root = QStringLiteral("/net/reactivated/Fprint");
const QString ManagerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
const QString ManagerInterface = QStringLiteral("net.reactivated.Fprint.Manager");
const QString DevicePath = QStringLiteral("/net/reactivated/Fprint/Device/0");
const QString DeviceInterface = QStringLiteral("net.reactivated.Fprint.Device");
const QString TestInterface = QStringLiteral("net.reactivated.Fprint.Test");

QString nextConnectionName()
{
    static int count = 0;
    return QStringLiteral("fake-fprintd-%1").arg(++count);
}
} // namespace

FakeFprintd::FakeFprintd()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SystemBus, nextConnectionName()))
{
    m_ownsService =
        m_bus.registerVirtualObject(Root, this, QDBusConnection::SubPath) && m_bus.registerService(Service);
}

FakeFprintd::~FakeFprintd()
{
    if (m_bus.isConnected()) {
        m_bus.unregisterService(Service);
        m_bus.unregisterObject(Root, QDBusConnection::UnregisterTree);
    }
    QDBusConnection::disconnectFromBus(m_bus.name());
}

QDBusMessage FakeFprintd::verifyStatus(const QString &result, bool done)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(DevicePath, DeviceInterface, QStringLiteral("VerifyStatus"));
    signal << result << done;
    return signal;
}

QDBusMessage FakeFprintd::roundTrip()
{
    return QDBusMessage::createMethodCall(Service, ManagerPath, TestInterface, QStringLiteral("RoundTrip"));
}

// GetDefaultDevice on the manager, anything else on the reader. fprintd's rules for claiming are
// left out: the tests compare the calls themselves.
bool FakeFprintd::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    if (message.interface() == TestInterface)
        return m_bus.send(message.createReply());
    const QString &member = message.member();
    const QVariantList arguments = message.arguments();
    m_calls.append(member + u'(' + (arguments.isEmpty() ? QString() : arguments.first().toString()) + u')');
    const bool manager = member == QLatin1String("GetDefaultDevice");
    const auto failure = m_failures.constFind(member);
    QDBusMessage reply = message.createReply();
    if (message.path() != (manager ? ManagerPath : DevicePath) ||
        message.interface() != (manager ? ManagerInterface : DeviceInterface)) {
        reply = message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method"));
    } else if (failure != m_failures.constEnd()) {
        reply =
            message.createErrorReply(Service + QStringLiteral(".Error.") + failure->first, failure->second);
    } else if (manager) {
        reply = message.createReply(QVariant::fromValue(QDBusObjectPath(DevicePath)));
    } else if (member == QLatin1String("ListEnrolledFingers")) {
        reply = message.createReply(m_fingers);
    } else if (member == QLatin1String("Claim") && m_holdingClaims) {
        message.setDelayedReply(true);
        m_heldClaim = message;
        return true;
    }
    m_bus.send(reply);
    return true;
}

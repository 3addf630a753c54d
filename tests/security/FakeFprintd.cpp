#include "FakeFprintd.h"

#include <QDBusConnectionInterface>
#include <QDBusObjectPath>

const QString FakeFprintd::service = QStringLiteral("net.reactivated.Fprint");
const QString FakeFprintd::devicePath = QStringLiteral("/net/reactivated/Fprint/Device/0");
const QString FakeFprintd::deviceInterface = QStringLiteral("net.reactivated.Fprint.Device");

namespace {
const QString Root = QStringLiteral("/net/reactivated/Fprint");
const QString ManagerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
const QString ManagerInterface = QStringLiteral("net.reactivated.Fprint.Manager");
const QString ErrorPrefix = QStringLiteral("net.reactivated.Fprint.Error.");

QString nextConnectionName()
{
    static int count = 0;
    return QStringLiteral("fake-fprintd-%1").arg(++count);
}

QDBusMessage refuse(const QDBusMessage &message, const QString &error, const QString &text)
{
    return message.createErrorReply(ErrorPrefix + error, text);
}
} // namespace

FakeFprintd::FakeFprintd()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SystemBus, nextConnectionName()))
{
    if (!m_bus.isConnected())
        return;
    m_bus.registerVirtualObject(Root, this, QDBusConnection::SubPath);
    m_ownsService = m_bus.registerService(service);
}

FakeFprintd::~FakeFprintd()
{
    if (m_bus.isConnected()) {
        m_bus.unregisterService(service);
        m_bus.unregisterObject(Root, QDBusConnection::UnregisterTree);
    }
    QDBusConnection::disconnectFromBus(m_bus.name());
}

void FakeFprintd::setFingers(const QStringList &fingers, bool emptyListAnswered)
{
    m_fingers = fingers;
    m_emptyListAnswered = emptyListAnswered;
}

void FakeFprintd::setFailing(const QString &method, const QString &errorName, const QString &errorMessage)
{
    m_failures.insert(method, {errorName, errorMessage});
}

void FakeFprintd::answerHeldClaim()
{
    m_claimed = true;
    m_bus.send(m_heldClaim.createReply());
    m_heldClaim = {};
}

void FakeFprintd::emitVerifyStatus(const QString &result, bool done)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(devicePath, deviceInterface, QStringLiteral("VerifyStatus"));
    signal << result << done;
    m_bus.send(signal);
}

QString FakeFprintd::introspect(const QString &) const
{
    return {}; // nobody here introspects
}

bool FakeFprintd::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    const QString argument =
        message.arguments().isEmpty() ? QString() : message.arguments().first().toString();
    m_calls.append(message.member() + u'(' + argument + u')');
    const QDBusMessage reply = answer(message);
    if (reply.type() != QDBusMessage::InvalidMessage)
        m_bus.send(reply);
    return true;
}

QDBusMessage FakeFprintd::answer(const QDBusMessage &message)
{
    const auto failure = m_failures.constFind(message.member());
    if (failure != m_failures.constEnd())
        return message.createErrorReply(failure->first, failure->second);
    if (message.path() == ManagerPath && message.interface() == ManagerInterface &&
        message.member() == QLatin1String("GetDefaultDevice")) {
        if (!m_hasDevice)
            return refuse(message, QStringLiteral("NoSuchDevice"), QStringLiteral("No devices available"));
        return message.createReply(QVariant::fromValue(QDBusObjectPath(devicePath)));
    }
    if (message.path() == devicePath && message.interface() == deviceInterface && m_hasDevice)
        return answerDevice(message);
    return message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method"));
}

QDBusMessage FakeFprintd::answerDevice(const QDBusMessage &message)
{
    const QString &member = message.member();
    if (member == QLatin1String("ListEnrolledFingers"))
        return listFingers(message);
    if (member == QLatin1String("Claim"))
        return claim(message);
    if (member == QLatin1String("VerifyStart"))
        return verifyStart(message);
    if (member == QLatin1String("VerifyStop"))
        return verifyStop(message);
    if (member == QLatin1String("Release"))
        return release(message);
    return message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method"));
}

QDBusMessage FakeFprintd::listFingers(const QDBusMessage &message)
{
    if (m_fingers.isEmpty() && !m_emptyListAnswered)
        return refuse(message, QStringLiteral("NoEnrolledPrints"),
                      QStringLiteral("Failed to discover prints"));
    return message.createReply(m_fingers);
}

QDBusMessage FakeFprintd::claim(const QDBusMessage &message)
{
    if (m_claimed || m_heldClaim.type() != QDBusMessage::InvalidMessage)
        return refuse(message, QStringLiteral("AlreadyInUse"), QStringLiteral("Device was already claimed"));
    if (m_holdingClaims) {
        message.setDelayedReply(true);
        m_heldClaim = message;
        return {};
    }
    m_claimed = true;
    return message.createReply();
}

QDBusMessage FakeFprintd::verifyStart(const QDBusMessage &message)
{
    if (!m_claimed)
        return refuse(message, QStringLiteral("ClaimDevice"),
                      QStringLiteral("Device was not claimed before use"));
    if (m_verifying)
        return refuse(message, QStringLiteral("AlreadyInUse"),
                      QStringLiteral("Verification already in progress"));
    m_verifying = true;
    return message.createReply();
}

QDBusMessage FakeFprintd::verifyStop(const QDBusMessage &message)
{
    if (!m_claimed)
        return refuse(message, QStringLiteral("ClaimDevice"),
                      QStringLiteral("Device was not claimed before use"));
    if (!m_verifying)
        return refuse(message, QStringLiteral("NoActionInProgress"),
                      QStringLiteral("No verification to stop"));
    m_verifying = false;
    return message.createReply();
}

QDBusMessage FakeFprintd::release(const QDBusMessage &message)
{
    if (!m_claimed)
        return refuse(message, QStringLiteral("ClaimDevice"),
                      QStringLiteral("Device was not claimed before use"));
    m_claimed = false;
    m_verifying = false;
    return message.createReply();
}

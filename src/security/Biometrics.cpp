#include "security/Biometrics.h"

#include "core/Logging.h"
#include "core/UserDefaults.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

const QString Biometrics::busConnectionName = QStringLiteral("lumisera-biometrics");

namespace {

const QString Service = QStringLiteral("net.reactivated.Fprint");
const QString ManagerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
const QString ManagerInterface = QStringLiteral("net.reactivated.Fprint.Manager");
const QString DeviceInterface = QStringLiteral("net.reactivated.Fprint.Device");
const QString VerifyStatus = QStringLiteral("VerifyStatus");
const QString Source = QStringLiteral("Biometrics");
const QString EnabledLabel = QStringLiteral("enabled");
const QString AuthenticateLabel = QStringLiteral("authenticate()");
const QString Match = QStringLiteral("verify-match");

bool isHidden()
{
    return UserDefaults::boolean(UserDefaults::Key::hideBiometrics);
}

QString describe(const QDBusError &error, const QString &fallback)
{
    if (!error.message().isEmpty())
        return error.message();
    return error.name().isEmpty() ? fallback : error.name();
}

// These end a scan even when a reader reports them as ongoing.
QString describeResult(const QString &result)
{
    if (result == QLatin1String("verify-no-match"))
        return QStringLiteral("The fingerprint did not match (verify-no-match)");
    if (result == QLatin1String("verify-disconnected"))
        return QStringLiteral("The fingerprint reader was disconnected (verify-disconnected)");
    if (result == QLatin1String("verify-unknown-error"))
        return QStringLiteral("The fingerprint reader failed (verify-unknown-error)");
    return {};
}

QDBusMessage methodCall(const QString &path, const QString &interface, const QString &method,
                        const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, method);
    message.setArguments(arguments);
    return message;
}

QDBusMessage deviceCall(const QString &device, const QString &method, const QVariantList &arguments = {})
{
    return methodCall(device, DeviceInterface, method, arguments);
}

} // namespace

Biometrics::Biometrics(QObject *parent) : QObject(parent), m_bus(busConnectionName) {}

Biometrics::~Biometrics()
{
    releaseOnDestruction();
}

// connectToBus(SystemBus) goes where DBUS_SYSTEM_BUS_ADDRESS points, else to the machine's
// system bus (libdbus reads the variable). Our own name keeps its signal hooks apart from
// anyone else's and lets a dead connection be dropped, so that the next refresh tries afresh.
QDBusConnection Biometrics::systemBus()
{
    if (!QDBusConnection(busConnectionName).isConnected()) // never made, or lost when the bus restarted
        QDBusConnection::disconnectFromBus(busConnectionName);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, busConnectionName);
    if (!bus.isConnected())
        QDBusConnection::disconnectFromBus(busConnectionName);
    return bus;
}

void Biometrics::refresh()
{
    const int generation = ++m_refreshGeneration;
    if (isHidden()) {
        QMetaObject::invokeMethod(
            this, [this, generation] { answerEnabled(generation, false); }, Qt::QueuedConnection);
        return;
    }
    m_bus = systemBus();
    if (!m_bus.isConnected()) {
        const QString problem = describe(m_bus.lastError(), {});
        QMetaObject::invokeMethod(
            this, [this, generation, problem] { notEnabled(generation, problem); }, Qt::QueuedConnection);
        return;
    }
    askForDevice(generation);
}

bool Biometrics::isEnabled() const
{
    return m_enabled;
}

QString Biometrics::symbolName() const
{
    return m_enabled ? QStringLiteral("touchid") : QString();
}

QDBusPendingCallWatcher *Biometrics::call(const QDBusMessage &message)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
    return watcher;
}

QDBusPendingCallWatcher *Biometrics::callDevice(const QString &method, const QVariantList &arguments)
{
    return call(deviceCall(m_device, method, arguments));
}

void Biometrics::askForDevice(int generation)
{
    QDBusPendingCallWatcher *watcher =
        call(methodCall(ManagerPath, ManagerInterface, QStringLiteral("GetDefaultDevice")));
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher *done) {
                const QDBusPendingReply<QDBusObjectPath> reply = *done;
                if (reply.isError())
                    return notEnabled(generation, describe(reply.error(), {}));
                askForFingers(generation, reply.value().path());
            });
}

void Biometrics::askForFingers(int generation, const QString &device)
{
    // An empty user name means the user this process runs as.
    QDBusPendingCallWatcher *watcher =
        call(deviceCall(device, QStringLiteral("ListEnrolledFingers"), {QString()}));
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, device](QDBusPendingCallWatcher *done) {
                const QDBusPendingReply<QStringList> reply = *done;
                if (reply.isError())
                    return notEnabled(generation, describe(reply.error(), {}));
                if (reply.value().isEmpty())
                    return notEnabled(generation, {});
                m_device = device;
                answerEnabled(generation, true);
            });
}

void Biometrics::notEnabled(int generation, const QString &problem)
{
    if (generation != m_refreshGeneration)
        return;
    logError(problem.isEmpty() ? QStringLiteral("biometrics not enabled") : problem, Source, EnabledLabel);
    answerEnabled(generation, false);
}

void Biometrics::answerEnabled(int generation, bool enabled)
{
    if (generation != m_refreshGeneration)
        return;
    m_enabled = enabled;
    Q_EMIT enabledChanged(enabled);
}

void Biometrics::authenticate()
{
    if (m_scanning)
        return;
    if (!m_enabled || isHidden())
        return answer(Status::failure);
    m_scanning = true;
    switch (m_step) {
    case Step::idle:
        start();
        return;
    case Step::claiming:
    case Step::starting:
        return; // the claim under way serves this scan
    case Step::scanning:
    case Step::stopping:
    case Step::releasing:
        m_startWhenIdle = true;
        return;
    }
}

bool Biometrics::isScanning() const
{
    return m_scanning;
}

void Biometrics::cancel()
{
    endScan(Status::cancelled);
}

void Biometrics::enterManually()
{
    endScan(Status::failure, QStringLiteral("The user chose to enter the passcode manually"));
}

void Biometrics::abort()
{
    endScan(Status::cancelled);
}

void Biometrics::start()
{
    m_step = Step::claiming;
    m_claim = callDevice(QStringLiteral("Claim"), {QString()});
    connect(m_claim, &QDBusPendingCallWatcher::finished, this, &Biometrics::onClaimed);
}

void Biometrics::onClaimed(QDBusPendingCallWatcher *watcher)
{
    m_claim = nullptr;
    if (watcher->isError()) {
        m_step = Step::idle;
        return endScan(Status::failure, describe(watcher->error(), {}));
    }
    m_step = Step::starting;
    if (!m_scanning)
        return release();
    if (!listenForResults(true)) {
        endScan(Status::failure, describe(m_bus.lastError(), {}));
        return release();
    }
    connect(callDevice(QStringLiteral("VerifyStart"), {QStringLiteral("any")}),
            &QDBusPendingCallWatcher::finished, this, &Biometrics::onVerifyStarted);
}

void Biometrics::onVerifyStarted(QDBusPendingCallWatcher *watcher)
{
    if (watcher->isError()) {
        listenForResults(false);
        endScan(Status::failure, describe(watcher->error(), {}));
        return release();
    }
    m_step = Step::scanning;
    if (!m_scanning)
        return stop();
    Q_EMIT readerListening();
}

// Bound to fprintd's name, so that only the owner of "net.reactivated.Fprint" is heard: another
// client on the bus cannot forge a match.
bool Biometrics::listenForResults(bool listen)
{
    const char *slot = SLOT(onVerifyStatus(QString, bool));
    if (listen)
        return m_bus.connect(Service, m_device, DeviceInterface, VerifyStatus, this, slot);
    return m_bus.disconnect(Service, m_device, DeviceInterface, VerifyStatus, this, slot);
}

void Biometrics::onVerifyStatus(const QString &result, bool done)
{
    if (!m_scanning || (m_step != Step::starting && m_step != Step::scanning))
        return;
    if (result == Match)
        return endScan(Status::success);
    const QString problem = describeResult(result);
    if (!done && problem.isEmpty()) {
        Q_EMIT retryRequested(result);
        return;
    }
    endScan(Status::failure, problem.isEmpty() ? result : problem);
}

void Biometrics::stop()
{
    m_step = Step::stopping;
    listenForResults(false);
    // Whether or not the scan stops cleanly, the reader is given back.
    connect(callDevice(QStringLiteral("VerifyStop")), &QDBusPendingCallWatcher::finished, this,
            &Biometrics::release);
}

void Biometrics::release()
{
    m_step = Step::releasing;
    connect(callDevice(QStringLiteral("Release")), &QDBusPendingCallWatcher::finished, this,
            &Biometrics::onReleased);
}

void Biometrics::onReleased(QDBusPendingCallWatcher *watcher)
{
    if (watcher->isError())
        logError(describe(watcher->error(), QStringLiteral("unknown error")), Source, AuthenticateLabel);
    m_step = Step::idle;
    if (m_startWhenIdle) {
        m_startWhenIdle = false;
        start();
    }
}

// Answers at once; the steps still under way then give the reader back.
void Biometrics::endScan(Status status, const QString &problem)
{
    if (!m_scanning)
        return;
    if (status == Status::failure)
        logError(problem.isEmpty() ? QStringLiteral("unknown error") : problem, Source, AuthenticateLabel);
    m_startWhenIdle = false;
    answer(status);
    if (m_step == Step::scanning)
        stop();
}

void Biometrics::answer(Status status)
{
    m_scanning = false;
    QMetaObject::invokeMethod(
        this, [this, status] { Q_EMIT finished(status); }, Qt::QueuedConnection);
}

// Nothing here may wait: the messages go out and their replies are dropped. fprintd also lets
// go of a reader whose client leaves the bus, but this connection outlives the object.
void Biometrics::releaseOnDestruction()
{
    const QDBusMessage releaseCall = deviceCall(m_device, QStringLiteral("Release"));
    switch (m_step) {
    case Step::claiming:
        if (QDBusPendingCallWatcher *claim = m_claim) {
            // The claim may still land: give the reader back then, without this object.
            claim->setParent(QCoreApplication::instance());
            disconnect(claim, nullptr, this, nullptr);
            connect(claim, &QDBusPendingCallWatcher::finished, claim,
                    [bus = m_bus, releaseCall](QDBusPendingCallWatcher *landed) {
                        if (!landed->isError())
                            bus.send(releaseCall);
                    });
        }
        return;
    case Step::starting:
    case Step::scanning:
        listenForResults(false);
        m_bus.send(deviceCall(m_device, QStringLiteral("VerifyStop")));
        [[fallthrough]];
    case Step::stopping:
        m_bus.send(releaseCall);
        return;
    case Step::idle:
    case Step::releasing:
        return;
    }
}

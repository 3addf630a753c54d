// The idle lock's clock: which source tells the session's idle time, and when the limit is passed.
#include "FakeIdleCompositor.h"
#include "PrivateBus.h"
#include "TestHome.h"
#include "app/DBusIdleSource.h"
#include "app/IdleMonitor.h"
#include "app/WaylandIdleSource.h"
#include "app/XScreenSaverIdleSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

using namespace std::chrono_literals;
using Availability = IdleMonitor::Availability;

namespace {

// Answers at once with what it is told; nothing (-1) when it cannot tell.
class FakeIdleSource : public IdleSource
{
public:
    FakeIdleSource(QString name, qint64 idleMs) : m_name(std::move(name)), m_idleMs(idleMs) {}
    QString name() const override { return m_name; }
    void ask(QObject *, Answer answer) override
    {
        ++m_asks;
        if (m_idleMs < 0)
            answer(std::nullopt);
        else
            answer(std::chrono::milliseconds(m_idleMs));
    }
    void setIdle(qint64 idleMs) { m_idleMs = idleMs; }
    int asks() const { return m_asks; }

private:
    QString m_name;
    qint64 m_idleMs;
    int m_asks = 0;
};

// A monitor that has found fake as its one source.
FakeIdleSource *detectOnly(IdleMonitor &monitor, qint64 idleMs)
{
    auto source = std::make_unique<FakeIdleSource>(QStringLiteral("fake"), idleMs);
    FakeIdleSource *fake = source.get();
    IdleMonitor::Sources sources;
    sources.push_back(std::move(source));
    monitor.detect(std::move(sources));
    return fake;
}

// A session service answering one idle-time method with a fixed value, as KDE and Mutter do.
class FakeIdleService : public QDBusVirtualObject
{
    Q_OBJECT
public:
    FakeIdleService(const QString &service, const QString &path, const QString &method,
                    const QVariant &answer)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-idle"))),
          m_service(service), m_path(path), m_method(method), m_answer(answer)
    {
        m_owns = m_bus.registerVirtualObject(path, this) && m_bus.registerService(service);
    }
    ~FakeIdleService() override
    {
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(m_path);
        QDBusConnection::disconnectFromBus(m_bus.name());
    }
    bool owns() const { return m_owns; }
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        if (message.member() != m_method)
            return false;
        return m_bus.send(message.createReply(m_answer));
    }

private:
    QDBusConnection m_bus;
    QString m_service;
    QString m_path;
    QString m_method;
    QVariant m_answer;
    bool m_owns = false;
};

// The source's answer, waited for.
std::optional<std::chrono::milliseconds> askOnce(IdleSource &source)
{
    QObject context;
    bool answered = false;
    std::optional<std::chrono::milliseconds> result;
    source.ask(&context, [&](std::optional<std::chrono::milliseconds> idle) {
        answered = true;
        result = idle;
    });
    if (!QTest::qWaitFor([&] { return answered; }, 5000))
        qWarning("the idle source never answered");
    return result;
}

// The compositor's idle source on fake's socket; never the session's own compositor.
std::unique_ptr<WaylandIdleSource> openWayland(const FakeIdleCompositor &fake)
{
    const QByteArray display = qgetenv("WAYLAND_DISPLAY");
    const QByteArray socket = qgetenv("WAYLAND_SOCKET");
    qunsetenv("WAYLAND_SOCKET");
    qputenv("WAYLAND_DISPLAY", QFile::encodeName(fake.socketName()));
    std::unique_ptr<WaylandIdleSource> source = WaylandIdleSource::open();
    qputenv("WAYLAND_DISPLAY", display);
    if (!socket.isEmpty())
        qputenv("WAYLAND_SOCKET", socket);
    return source;
}

// Passes everything on to another source and counts the questions it answered.
class CountingIdleSource : public IdleSource
{
public:
    explicit CountingIdleSource(std::unique_ptr<IdleSource> inner) : m_inner(std::move(inner)) {}
    QString name() const override { return m_inner->name(); }
    void ask(QObject *context, Answer answer) override
    {
        m_inner->ask(context,
                     [this, answer = std::move(answer)](std::optional<std::chrono::milliseconds> idle) {
                         ++m_answers;
                         m_last = idle;
                         answer(idle);
                     });
    }
    void watch(std::chrono::milliseconds limit, std::function<void()> changed) override
    {
        m_inner->watch(limit, std::move(changed));
    }
    int answers() const { return m_answers; }
    std::optional<std::chrono::milliseconds> last() const { return m_last; }

private:
    std::unique_ptr<IdleSource> m_inner;
    int m_answers = 0;
    std::optional<std::chrono::milliseconds> m_last;
};

// A monitor that has found the compositor's idle notification, asked only when news comes.
CountingIdleSource *detectWayland(IdleMonitor &monitor, const FakeIdleCompositor &fake)
{
    std::unique_ptr<WaylandIdleSource> wayland = openWayland(fake);
    if (!wayland)
        return nullptr;
    auto counting = std::make_unique<CountingIdleSource>(std::move(wayland));
    CountingIdleSource *result = counting.get();
    IdleMonitor::Sources sources;
    sources.push_back(std::move(counting));
    monitor.setPollInterval(std::chrono::hours(1));
    monitor.detect(std::move(sources));
    return monitor.availability() == Availability::available ? result : nullptr;
}

} // namespace

class TestIdleMonitor : public QObject
{
    Q_OBJECT
public:
    TestIdleMonitor() { qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName(m_bus.address())); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_bus.start(), "dbus-daemon must be on PATH to stand in for the session bus");
    }

    // The first source that tells wins; without one the setting is not available.
    void detectionTakesTheFirstSourceThatTells_data()
    {
        QTest::addColumn<QList<qint64>>("answers");
        QTest::addColumn<int>("chosen"); // -1: none
        QTest::newRow("none at all") << QList<qint64>{} << -1;
        QTest::newRow("none tells") << QList<qint64>{-1, -1} << -1;
        QTest::newRow("the second tells") << QList<qint64>{-1, 0} << 1;
        QTest::newRow("both tell") << QList<qint64>{5, 0} << 0;
    }

    void detectionTakesTheFirstSourceThatTells()
    {
        QFETCH(QList<qint64>, answers);
        QFETCH(int, chosen);
        IdleMonitor::Sources sources;
        for (qsizetype i = 0; i < answers.size(); ++i)
            sources.push_back(std::make_unique<FakeIdleSource>(QString::number(i), answers[i]));
        IdleMonitor monitor;
        QSignalSpy availability(&monitor, &IdleMonitor::availabilityChanged);
        monitor.detect(std::move(sources));
        QCOMPARE(availability.size(), 1);
        QCOMPARE(monitor.availability(), chosen < 0 ? Availability::unavailable : Availability::available);
        QCOMPARE(monitor.sourceName(), chosen < 0 ? QString() : QString::number(chosen));
    }

    // Setting × idle time: the limit is reached or not.
    void limitAgainstIdleTime_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<qint64>("idleMs"); // -1: the source cannot tell this time
        QTest::addColumn<bool>("locks");
        QTest::newRow("1 min, 59 s idle") << 1 << qint64(59'000) << false;
        QTest::newRow("1 min, 60 s idle") << 1 << qint64(60'000) << true;
        QTest::newRow("5 min, 4:59 idle") << 5 << qint64(299'000) << false;
        QTest::newRow("5 min, 5:00 idle") << 5 << qint64(300'000) << true;
        QTest::newRow("15 min, 14 min idle") << 15 << qint64(840'000) << false;
        QTest::newRow("15 min, an hour idle") << 15 << qint64(3'600'000) << true;
        QTest::newRow("1 min, no answer") << 1 << qint64(-1) << false;
    }

    void limitAgainstIdleTime()
    {
        QFETCH(int, minutes);
        QFETCH(qint64, idleMs);
        QFETCH(bool, locks);
        IdleMonitor monitor;
        FakeIdleSource *fake = detectOnly(monitor, 0);
        fake->setIdle(idleMs);
        QSignalSpy reached(&monitor, &IdleMonitor::idleLimitReached);
        monitor.setLimit(std::chrono::minutes(minutes));
        monitor.setWatching(true);
        monitor.check(); // the fake answers at once
        QCOMPARE(reached.size(), locks ? 1 : 0);
    }

    // Never, or a locked vault: the session is not asked at all.
    void asksOnlyWhileWatchingWithALimit_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("watching");
        QTest::addColumn<int>("asks");
        QTest::newRow("never, unlocked") << 0 << true << 0;
        QTest::newRow("5 min, locked") << 5 << false << 0;
        QTest::newRow("5 min, unlocked") << 5 << true << 1;
    }

    void asksOnlyWhileWatchingWithALimit()
    {
        QFETCH(int, minutes);
        QFETCH(bool, watching);
        QFETCH(int, asks);
        IdleMonitor monitor;
        FakeIdleSource *fake = detectOnly(monitor, 1000);
        const int detectionAsks = fake->asks();
        monitor.setLimit(std::chrono::minutes(minutes));
        monitor.setWatching(watching);
        monitor.check();
        QCOMPARE(fake->asks() - detectionAsks, asks);
    }

    // Polling finds the limit on its own once the idle time passes it.
    void pollingReachesTheLimit()
    {
        IdleMonitor monitor;
        FakeIdleSource *fake = detectOnly(monitor, 0);
        QSignalSpy reached(&monitor, &IdleMonitor::idleLimitReached);
        monitor.setPollInterval(10ms);
        monitor.setLimit(1min);
        monitor.setWatching(true);
        QTRY_VERIFY(fake->asks() >= 3);
        QCOMPARE(reached.size(), 0);
        fake->setIdle(61'000);
        QTRY_COMPARE(reached.size(), 1);
    }

    // The session services over a bus: KDE's screen saver answers a uint, Mutter a uint64.
    void sessionBusSources_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QVariant>("answer");
        QTest::newRow("screen saver") << "screenSaver" << true << QVariant::fromValue(uint(123'456));
        QTest::newRow("mutter") << "mutter" << true << QVariant::fromValue(qulonglong(7'654'321));
        QTest::newRow("screen saver not running") << "screenSaver" << false << QVariant();
        QTest::newRow("screen saver answers nonsense")
            << "screenSaver" << true << QVariant(QStringLiteral("soon"));
    }

    void sessionBusSources()
    {
        QFETCH(QString, which);
        QFETCH(bool, running);
        QFETCH(QVariant, answer);
        const bool screenSaver = which == QLatin1String("screenSaver");
        std::unique_ptr<FakeIdleService> service;
        if (running) {
            service =
                screenSaver
                    ? std::make_unique<FakeIdleService>(QStringLiteral("org.freedesktop.ScreenSaver"),
                                                        QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                        QStringLiteral("GetSessionIdleTime"), answer)
                    : std::make_unique<FakeIdleService>(QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                                                        QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                                                        QStringLiteral("GetIdletime"), answer);
            QVERIFY(service->owns());
        }
        DBusIdleSource source = screenSaver ? DBusIdleSource::screenSaver() : DBusIdleSource::mutter();
        const std::optional<std::chrono::milliseconds> idle = askOnce(source);
        bool numeric = false;
        const qulonglong expected = answer.toULongLong(&numeric);
        QCOMPARE(idle.has_value(), running && numeric);
        if (idle)
            QCOMPARE(qulonglong(idle->count()), expected);
    }

    // The X server's idle time grows while nobody types; without an X server there is no source.
    void xScreenSaverUnderXvfb()
    {
        const QByteArray display = qgetenv("DISPLAY");
        qputenv("DISPLAY", ":7634"); // nothing listens there
        QVERIFY(!XScreenSaverIdleSource::open());
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            QSKIP("no Xvfb to stand in for an X server");
        QProcess xvfb;
        xvfb.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!xvfb.waitForStarted() || !xvfb.waitForReadyRead(10000))
            QSKIP("Xvfb does not start here");
        qputenv("DISPLAY", ":" + xvfb.readAllStandardOutput().trimmed());
        std::unique_ptr<XScreenSaverIdleSource> source = XScreenSaverIdleSource::open();
        qputenv("DISPLAY", display);
        QVERIFY(source);
        const std::optional<std::chrono::milliseconds> first = askOnce(*source);
        QVERIFY(first);
        QTRY_VERIFY(askOnce(*source).value_or(0ms) >= *first + 200ms);
        source.reset();
        xvfb.terminate();
        xvfb.waitForFinished();
    }

    // Sway, Hyprland and friends: idle notifications where the compositor offers them with a seat.
    void waylandAvailability_data()
    {
        QTest::addColumn<bool>("seat");
        QTest::addColumn<bool>("notifier");
        QTest::addColumn<bool>("gone"); // the compositor quits before the monitor asks
        QTest::addColumn<bool>("available");
        QTest::newRow("offered") << true << true << false << true;
        QTest::newRow("no idle notifier") << true << false << false << false;
        QTest::newRow("no seat") << false << true << false << false;
        QTest::newRow("compositor gone") << true << true << true << false;
    }

    void waylandAvailability()
    {
        QFETCH(bool, seat);
        QFETCH(bool, notifier);
        QFETCH(bool, gone);
        QFETCH(bool, available);
        FakeIdleCompositor fake(seat, notifier);
        QVERIFY(!fake.socketName().isEmpty());
        std::unique_ptr<WaylandIdleSource> source = openWayland(fake);
        QCOMPARE(bool(source), seat && notifier);
        if (gone)
            fake.stop();
        IdleMonitor::Sources sources;
        if (source)
            sources.push_back(std::move(source));
        IdleMonitor monitor;
        monitor.detect(std::move(sources));
        QCOMPARE(monitor.availability(), available ? Availability::available : Availability::unavailable);
    }

    // The compositor is told the limit: a notification with that timeout while watching, none
    // otherwise, and a new one in place of the old when the limit changes.
    void waylandNotificationFollowsTheLimit_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("watching");
        QTest::addColumn<QList<uint>>("timeouts");
        QTest::newRow("1 min") << 1 << true << QList<uint>{60'000};
        QTest::newRow("15 min") << 15 << true << QList<uint>{900'000};
        QTest::newRow("never") << 0 << true << QList<uint>{};
        QTest::newRow("5 min, locked") << 5 << false << QList<uint>{};
    }

    void waylandNotificationFollowsTheLimit()
    {
        QFETCH(int, minutes);
        QFETCH(bool, watching);
        QFETCH(QList<uint>, timeouts);
        FakeIdleCompositor fake(true, true);
        IdleMonitor monitor;
        QVERIFY(detectWayland(monitor, fake));
        monitor.setLimit(std::chrono::minutes(minutes));
        monitor.setWatching(watching);
        // Requests arrive in order: once this one is there, everything before it is too.
        monitor.setLimit(2min);
        monitor.setWatching(true);
        timeouts.append(120'000);
        QTRY_COMPARE(fake.requestedTimeouts(), timeouts);
        QTRY_COMPARE(fake.liveNotifications(), 1);
        // A new limit while watching replaces the notification.
        monitor.setLimit(15min);
        timeouts.append(900'000);
        QTRY_COMPARE(fake.requestedTimeouts(), timeouts);
        QTRY_COMPARE(fake.liveNotifications(), 1);
        monitor.setWatching(false);
        QTRY_COMPARE(fake.liveNotifications(), 0);
    }

    // The compositor says when the limit has passed, and when input came back.
    void waylandNewsAgainstTheLimit_data()
    {
        QTest::addColumn<QByteArray>("events"); // i: idled, r: resumed, in one message
        QTest::addColumn<bool>("locks");
        QTest::newRow("idled") << QByteArray("i") << true;
        QTest::newRow("idled, then input at once") << QByteArray("ir") << false;
        QTest::newRow("input") << QByteArray("r") << false;
    }

    void waylandNewsAgainstTheLimit()
    {
        QFETCH(QByteArray, events);
        QFETCH(bool, locks);
        FakeIdleCompositor fake(true, true);
        IdleMonitor monitor;
        CountingIdleSource *source = detectWayland(monitor, fake);
        QVERIFY(source);
        QSignalSpy reached(&monitor, &IdleMonitor::idleLimitReached);
        monitor.setLimit(1min);
        monitor.setWatching(true);
        QTRY_COMPARE(fake.liveNotifications(), 1);
        const int answers = source->answers();
        fake.send(events);
        // The news makes the monitor ask at once, not at its next poll an hour away.
        QTRY_VERIFY(source->answers() > answers);
        QCOMPARE(reached.size(), locks ? 1 : 0);
        QVERIFY(source->last());
        QCOMPARE(*source->last() >= 1min, locks);
    }

    // A compositor that quits while the vault is watched leaves a source that cannot tell.
    void waylandCompositorGoneWhileWatching()
    {
        FakeIdleCompositor fake(true, true);
        IdleMonitor monitor;
        CountingIdleSource *source = detectWayland(monitor, fake);
        QVERIFY(source);
        QSignalSpy reached(&monitor, &IdleMonitor::idleLimitReached);
        monitor.setLimit(1min);
        monitor.setWatching(true);
        QTRY_COMPARE(fake.liveNotifications(), 1);
        fake.stop();
        monitor.check();
        QTRY_VERIFY(source->answers() > 0 && !source->last());
        QCOMPARE(reached.size(), 0);
        // Changing the limit speaks to nobody and must not fail.
        monitor.setLimit(5min);
        monitor.setWatching(false);
    }

private:
    PrivateBus m_bus;
};

LUMISERA_TEST_MAIN(TestIdleMonitor)
#include "TestIdleMonitor.moc"

#include "Biometrics.h"
#include "FakeFprintd.h"
#include "LogCapture.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Status = Biometrics::Status;

namespace {

const QString Match = QStringLiteral("verify-match");
const QStringList Scanning{QStringLiteral("Claim()"), QStringLiteral("VerifyStart(any)")};
const QStringList WholeScan =
    Scanning + QStringList{QStringLiteral("VerifyStop()"), QStringLiteral("Release()")};

// One step of a scan: fprintd's report, or what the person or the window does.
struct Event
{
    enum Kind { report, retry, cancel, enterManually, windowLocks };
    Kind kind = report;
    QString result;
    bool done = true;
};

Event report(const QString &result, bool done)
{
    return {Event::report, result, done};
}

// A report after which fprintd's scan goes on.
Event retry(const QString &result)
{
    return {Event::retry, result, false};
}

Event act(Event::Kind kind)
{
    return {kind, {}, true};
}

enum class Setup { noSystemBus, noFprintd, noDevice, noFinger, emptyFingerList, hidden, enrolled };

void hideBiometrics(bool hide)
{
    UserDefaults::setValue(UserDefaults::Key::hideBiometrics, hide);
}

} // namespace

Q_DECLARE_METATYPE(Event)
Q_DECLARE_METATYPE(Setup)

class TestBiometrics : public QObject
{
    Q_OBJECT
    QString m_socket;
    QProcess m_bus;
    std::unique_ptr<FakeFprintd> m_fprintd;

    // A private bus stands in for the system bus, at one address for the whole run: libdbus keeps
    // the DBUS_SYSTEM_BUS_ADDRESS it read first, so the bus restarts on the same socket.
    bool startBus()
    {
        QFile::remove(m_socket);
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                     QStringLiteral("--print-address=1"), QStringLiteral("--address=unix:path=") + m_socket});
        return m_bus.waitForStarted() && m_bus.waitForReadyRead(5000) &&
               !m_bus.readLine().trimmed().isEmpty();
    }

    void stopBus()
    {
        m_bus.terminate();
        m_bus.waitForFinished();
    }

    // A Biometrics that has found the fake reader with its enrolled finger.
    std::unique_ptr<Biometrics> enabledBiometrics()
    {
        auto biometrics = std::make_unique<Biometrics>();
        QSignalSpy enabled(biometrics.get(), &Biometrics::enabledChanged);
        biometrics->refresh();
        if (!enabled.wait(5000) || !biometrics->isEnabled())
            return nullptr;
        m_fprintd->clearCalls();
        return biometrics;
    }

    // Long enough for a stray answer or a second Release to arrive over the private bus.
    static void settle() { QTest::qWait(150); }

    void apply(Biometrics &biometrics, const Event &event)
    {
        switch (event.kind) {
        case Event::report:
        case Event::retry:
            return m_fprintd->emitVerifyStatus(event.result, event.done);
        case Event::cancel:
            return biometrics.cancel();
        case Event::enterManually:
            return biometrics.enterManually();
        case Event::windowLocks:
            return biometrics.abort();
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_socket = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/system_bus_socket");
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", QFile::encodeName(QStringLiteral("unix:path=") + m_socket));
        QVERIFY2(startBus(), "dbus-daemon must be on PATH to stand in for the system bus");
    }

    void cleanupTestCase()
    {
        m_fprintd.reset();
        stopBus();
    }

    void init()
    {
        hideBiometrics(false);
        m_fprintd = std::make_unique<FakeFprintd>();
        QVERIFY(m_fprintd->ownsService());
    }

    void cleanup() { m_fprintd.reset(); }

    void enabled_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("logged"); // a fragment of the one error line; empty: none

        QTest::newRow("no system bus") << Setup::noSystemBus << false << "Failed to connect to socket";
        QTest::newRow("no fprintd") << Setup::noFprintd << false << "net.reactivated.Fprint";
        QTest::newRow("no reader") << Setup::noDevice << false << "No devices available";
        QTest::newRow("no finger enrolled") << Setup::noFinger << false << "Failed to discover prints";
        QTest::newRow("empty finger list") << Setup::emptyFingerList << false << "biometrics not enabled";
        QTest::newRow("hidden by the user") << Setup::hidden << false << QString();
        QTest::newRow("finger enrolled") << Setup::enrolled << true << QString();
    }

    void enabled()
    {
        QFETCH(Setup, setup);
        QFETCH(bool, expected);
        QFETCH(QString, logged);
        const auto restartBus = qScopeGuard([&] {
            if (setup == Setup::noSystemBus)
                QVERIFY(startBus());
        });
        switch (setup) {
        case Setup::noSystemBus:
            m_fprintd.reset();
            stopBus();
            QTRY_VERIFY(!QDBusConnection(Biometrics::busConnectionName).isConnected());
            break;
        case Setup::noFprintd:
            m_fprintd.reset();
            break;
        case Setup::noDevice:
            m_fprintd->setHasDevice(false);
            break;
        case Setup::noFinger:
            m_fprintd->setFingers({});
            break;
        case Setup::emptyFingerList:
            m_fprintd->setFingers({}, true);
            break;
        case Setup::hidden:
            hideBiometrics(true);
            break;
        case Setup::enrolled:
            break;
        }

        LogCapture capture;
        Biometrics biometrics;
        QSignalSpy changed(&biometrics, &Biometrics::enabledChanged);
        biometrics.refresh();
        QCOMPARE(changed.count(), 0); // the answer never comes inside the call
        QVERIFY(!biometrics.isEnabled());
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toBool(), expected);
        QCOMPARE(biometrics.isEnabled(), expected);
        QCOMPARE(biometrics.symbolName(), expected ? QStringLiteral("touchid") : QString());
        settle();
        QCOMPARE(changed.count(), 1);

        QCOMPARE(capture.infos(), QStringList());
        if (logged.isEmpty()) {
            QCOMPARE(capture.errors(), QStringList());
        } else {
            QCOMPARE(capture.errors().size(), 1);
            const QString line = capture.errors().first();
            QVERIFY2(line.startsWith("Biometrics:enabled ") && line.contains(logged), qPrintable(line));
        }
        if (setup == Setup::hidden)
            QCOMPARE(m_fprintd->calls(), QStringList()); // the user's choice needs no fprintd
    }

    // The latest refresh decides, whichever answer arrives last.
    void laterRefreshWins()
    {
        Biometrics biometrics;
        QSignalSpy changed(&biometrics, &Biometrics::enabledChanged);
        biometrics.refresh();
        hideBiometrics(true);
        biometrics.refresh();
        QTRY_COMPARE(changed.count(), 1);
        settle();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toBool(), false);
        QVERIFY(!biometrics.isEnabled());
    }

    void notEnabled_data()
    {
        QTest::addColumn<bool>("refreshed");
        QTest::addColumn<QStringList>("fingers");
        QTest::addColumn<bool>("hiddenSince");
        QTest::newRow("hidden since the last refresh") << true << QStringList{"left-thumb"} << true;
        QTest::newRow("no finger enrolled") << true << QStringList() << false;
        QTest::newRow("never refreshed") << false << QStringList{"left-thumb"} << false;
    }

    void notEnabled()
    {
        QFETCH(bool, refreshed);
        QFETCH(QStringList, fingers);
        QFETCH(bool, hiddenSince);
        m_fprintd->setFingers(fingers);
        LogCapture capture;
        Biometrics biometrics;
        if (refreshed) {
            QSignalSpy changed(&biometrics, &Biometrics::enabledChanged);
            biometrics.refresh();
            QVERIFY(changed.wait(5000));
            QCOMPARE(biometrics.isEnabled(), !fingers.isEmpty());
        }
        hideBiometrics(hiddenSince);
        m_fprintd->clearCalls();
        const QStringList logged = capture.lines();

        QSignalSpy finished(&biometrics, &Biometrics::finished);
        biometrics.authenticate();
        QCOMPARE(finished.count(), 0); // answered through the event loop, not inside the call
        QVERIFY(!biometrics.isScanning());
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<Status>(), Status::failure);
        settle();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_fprintd->calls(), QStringList());
        QCOMPARE(capture.lines(), logged); // refresh() told already
    }

    void scan_data()
    {
        QTest::addColumn<QList<Event>>("events");
        QTest::addColumn<Status>("expected");
        QTest::addColumn<int>("retries");
        QTest::addColumn<QString>("logged"); // a fragment of the one error line; empty: none

        QTest::newRow("match") << QList<Event>{report(Match, true)} << Status::success << 0 << QString();
        QTest::newRow("retries, then match")
            << QList<Event>{retry("verify-retry-scan"), retry("verify-swipe-too-short"),
                            retry("verify-finger-not-centered"), retry("verify-remove-and-retry"),
                            report(Match, true)}
            << Status::success << 4 << QString();
        QTest::newRow("no match") << QList<Event>{report("verify-no-match", true)} << Status::failure << 0
                                  << "verify-no-match";
        QTest::newRow("no match, reported as ongoing")
            << QList<Event>{report("verify-no-match", false)} << Status::failure << 0 << "verify-no-match";
        QTest::newRow("reader disconnected") << QList<Event>{report("verify-disconnected", true)}
                                             << Status::failure << 0 << "verify-disconnected";
        QTest::newRow("reader error") << QList<Event>{report("verify-unknown-error", true)} << Status::failure
                                      << 0 << "verify-unknown-error";
        QTest::newRow("Cancel") << QList<Event>{act(Event::cancel)} << Status::cancelled << 0 << QString();
        QTest::newRow("Cancel after a retry") << QList<Event>{retry("verify-retry-scan"), act(Event::cancel)}
                                              << Status::cancelled << 1 << QString();
        QTest::newRow("Enter manually")
            << QList<Event>{act(Event::enterManually)} << Status::failure << 0 << "manually";
        QTest::newRow("window locks mid-scan")
            << QList<Event>{act(Event::windowLocks)} << Status::cancelled << 0 << QString();
    }

    void scan()
    {
        QFETCH(QList<Event>, events);
        QFETCH(Status, expected);
        QFETCH(int, retries);
        QFETCH(QString, logged);
        const std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        LogCapture capture;
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        QSignalSpy retried(biometrics.get(), &Biometrics::retryRequested);

        biometrics->authenticate();
        QVERIFY(biometrics->isScanning());
        QTRY_COMPARE(m_fprintd->calls(), Scanning);
        int reported = 0;
        for (const Event &event : std::as_const(events)) {
            apply(*biometrics, event);
            if (event.kind == Event::retry) {
                ++reported;
                QTRY_COMPARE(retried.count(), reported); // the scan goes on
            } else if (event.kind != Event::report) {
                QCOMPARE(finished.count(), 0); // answered through the event loop, not inside the call
            }
        }
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<Status>(), expected);
        QVERIFY(!biometrics->isScanning());
        QTRY_COMPARE(m_fprintd->calls(), WholeScan);

        m_fprintd->emitVerifyStatus(Match, true); // too late: the reader is no longer ours
        settle();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_fprintd->calls(), WholeScan); // exactly one Release
        QVERIFY(!m_fprintd->isClaimed());
        QCOMPARE(retried.count(), retries);
        QCOMPARE(capture.infos(), QStringList());
        if (logged.isEmpty()) {
            QCOMPARE(capture.errors(), QStringList());
        } else {
            QCOMPARE(capture.errors().size(), 1);
            const QString line = capture.errors().first();
            QVERIFY2(line.startsWith("Biometrics:authenticate() ") && line.contains(logged),
                     qPrintable(line));
        }
    }

    void refused_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("claim: reader busy") << "Claim" << QStringList{"Claim()"};
        QTest::newRow("verify start")
            << "VerifyStart" << QStringList{"Claim()", "VerifyStart(any)", "Release()"};
    }

    void refused()
    {
        QFETCH(QString, method);
        QFETCH(QStringList, calls);
        const std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        m_fprintd->setFailing(method, "net.reactivated.Fprint.Error.Internal", "the reader refused");
        LogCapture capture;
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        biometrics->authenticate();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<Status>(), Status::failure);
        QTRY_COMPARE(m_fprintd->calls(), calls);
        settle();
        QCOMPARE(m_fprintd->calls(), calls);
        QVERIFY(!m_fprintd->isClaimed());
        QCOMPARE(capture.errors(), QStringList{"Biometrics:authenticate() the reader refused"});
    }

    // Only fprintd's own VerifyStatus counts: another client on the bus cannot forge a match.
    void forgedMatchIgnored()
    {
        const std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        LogCapture capture;
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        biometrics->authenticate();
        QTRY_COMPARE(m_fprintd->calls(), Scanning);

        const QString forgerName = QStringLiteral("forger");
        const auto disconnectForger = qScopeGuard([&] { QDBusConnection::disconnectFromBus(forgerName); });
        QDBusConnection forger = QDBusConnection::connectToBus(QDBusConnection::SystemBus, forgerName);
        QVERIFY(forger.isConnected());
        QDBusMessage forged =
            QDBusMessage::createSignal(FakeFprintd::devicePath, FakeFprintd::deviceInterface, "VerifyStatus");
        forged << Match << true;
        QVERIFY(forger.send(forged));
        // The bus keeps one sender's messages in order: once our connection answers the forger's
        // ping, it has seen whatever the forged signal was going to bring.
        const QString target = QDBusConnection(Biometrics::busConnectionName).baseService();
        QDBusPendingCallWatcher ping(forger.asyncCall(QDBusMessage::createMethodCall(
            target, "/", "org.freedesktop.DBus.Peer", QStringLiteral("Ping"))));
        QSignalSpy pinged(&ping, &QDBusPendingCallWatcher::finished);
        QVERIFY(pinged.wait(5000));
        QVERIFY(!ping.isError());
        settle();
        QCOMPARE(finished.count(), 0);
        QVERIFY(biometrics->isScanning());
        QCOMPARE(capture.lines(), QStringList());

        m_fprintd->emitVerifyStatus("verify-no-match", true);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<Status>(), Status::failure);
        QTRY_COMPARE(m_fprintd->calls(), WholeScan);
        QCOMPARE(capture.errors().size(), 1);
    }

    // Whatever ends the scan before the claim lands, the reader is given back once it does.
    void lateClaim_data()
    {
        QTest::addColumn<Event::Kind>("ending");
        QTest::addColumn<Status>("expected");
        QTest::addColumn<int>("errorsLogged");
        QTest::newRow("Cancel") << Event::cancel << Status::cancelled << 0;
        QTest::newRow("Enter manually") << Event::enterManually << Status::failure << 1;
        QTest::newRow("window locks") << Event::windowLocks << Status::cancelled << 0;
    }

    void lateClaim()
    {
        QFETCH(Event::Kind, ending);
        QFETCH(Status, expected);
        QFETCH(int, errorsLogged);
        const std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        LogCapture capture;
        m_fprintd->setHoldingClaims(true);
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        biometrics->authenticate();
        QTRY_COMPARE(m_fprintd->calls(), QStringList{"Claim()"});
        apply(*biometrics, act(ending));
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<Status>(), expected);
        m_fprintd->answerHeldClaim();
        QTRY_COMPARE(m_fprintd->calls(), (QStringList{"Claim()", "Release()"}));
        settle();
        QCOMPARE(m_fprintd->calls(), (QStringList{"Claim()", "Release()"}));
        QVERIFY(!m_fprintd->isClaimed());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(capture.errors().size(), errorsLogged);
    }

    // The window goes away with its Biometrics: the reader is given back all the same.
    void destroyed_data()
    {
        QTest::addColumn<bool>("slowClaim");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("while the claim is under way") << true << QStringList{"Claim()", "Release()"};
        QTest::newRow("while scanning") << false << WholeScan;
    }

    void destroyed()
    {
        QFETCH(bool, slowClaim);
        QFETCH(QStringList, calls);
        std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        m_fprintd->setHoldingClaims(slowClaim);
        biometrics->authenticate();
        QTRY_COMPARE(m_fprintd->calls(), calls.mid(0, slowClaim ? 1 : 2));
        biometrics.reset();
        if (slowClaim)
            m_fprintd->answerHeldClaim();
        QTRY_COMPARE(m_fprintd->calls(), calls);
        settle();
        QCOMPARE(m_fprintd->calls(), calls);
        QVERIFY(!m_fprintd->isClaimed());
    }

    // Asked again while the last scan is still giving the reader back: the new scan waits for it.
    void scanAgainRightAfterCancel()
    {
        const std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        biometrics->authenticate();
        QTRY_COMPARE(m_fprintd->calls(), Scanning);
        biometrics->cancel();
        biometrics->authenticate();
        QVERIFY(biometrics->isScanning());
        QTRY_COMPARE(m_fprintd->calls(), WholeScan + Scanning);
        m_fprintd->emitVerifyStatus(Match, true);
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(finished.at(0).first().value<Status>(), Status::cancelled);
        QCOMPARE(finished.at(1).first().value<Status>(), Status::success);
        QTRY_COMPARE(m_fprintd->calls(), WholeScan + WholeScan);
        QVERIFY(!m_fprintd->isClaimed());
    }
};

LUMISERA_TEST_MAIN(TestBiometrics)
#include "TestBiometrics.moc"

#include "EventLoopMarkers.h"
#include "FakeFprintd.h"
#include "LogCapture.h"
#include "TestHome.h"
#include "core/UserDefaults.h"
#include "security/Biometrics.h"

#include <QDBusPendingCall>
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
const QStringList ClaimReleased{QStringLiteral("Claim()"), QStringLiteral("Release()")};

enum class Setup { noSystemBus, noFprintd, noDevice, noFinger, emptyFingerList, hidden, enrolled };
// What the scan meets on its way: nothing, a claim that lands only after the scan ended, or a refusal.
enum class Hitch { none, slowClaim, claimRefused, verifyStartRefused };
// How the scan ends: fprintd's report (done, or still ongoing), or what the person or the window does.
enum class End { report, ongoingReport, cancel, enterManually, windowLocks, windowCloses, none };

void hideBiometrics(bool hide)
{
    UserDefaults::setValue(UserDefaults::Key::hideBiometrics, hide);
}

// Nothing is logged but, for a fragment, the one error line of that label that contains it.
bool loggedOnly(const LogCapture &capture, const QString &label, const QString &fragment)
{
    const QStringList lines = capture.lines();
    if (fragment.isEmpty())
        return lines.isEmpty();
    return lines.size() == 1 && capture.errors() == lines &&
           lines.first().startsWith(QStringLiteral("Biometrics:") + label + u' ') &&
           lines.first().contains(fragment);
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Hitch)
Q_DECLARE_METATYPE(End)

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

    // A stray answer or a second Release has arrived over the private bus: the reader answers in
    // turn, so a call's answer comes after those to every call before it, and the window takes
    // them in the order they came; a second round covers what the first one set off.
    static bool settled()
    {
        for (int round = 0; round < 2; ++round) {
            const QDBusPendingCall marker =
                QDBusConnection(Biometrics::busConnectionName).asyncCall(FakeFprintd::roundTrip());
            if (!QTest::qWaitFor([&marker] { return marker.isFinished(); }, 5000) || !postedEventsRan())
                return false;
        }
        return true;
    }

    // Another client on the bus sends a match as if it were fprintd.
    static void forgeMatch()
    {
        const QString name = QStringLiteral("forger");
        const auto disconnect = qScopeGuard([&] { QDBusConnection::disconnectFromBus(name); });
        QDBusConnection forger = QDBusConnection::connectToBus(QDBusConnection::SystemBus, name);
        QVERIFY(forger.send(FakeFprintd::verifyStatus(Match, true)));
        // The bus keeps one sender's messages in order: once our connection answers the forger's
        // ping, it holds the forged signal and has queued it for the main thread.
        const QDBusMessage ping = forger.call(QDBusMessage::createMethodCall(
            QDBusConnection(Biometrics::busConnectionName).baseService(), QStringLiteral("/"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
        QCOMPARE(ping.type(), QDBusMessage::ReplyMessage);
        QVERIFY(postedEventsRan());
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_socket = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/system_bus_socket");
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", QFile::encodeName(QStringLiteral("unix:path=") + m_socket));
        QVERIFY2(startBus(), "dbus-daemon must be on PATH to stand in for the system bus");
    }

    void cleanupTestCase() { stopBus(); }

    void init()
    {
        hideBiometrics(false);
        m_fprintd = std::make_unique<FakeFprintd>();
        QVERIFY(m_fprintd->ownsService());
    }

    void cleanup() { m_fprintd.reset(); }

    // Each refresh supersedes one made while hidden; a scan asked for afterwards fails at once without
    // a word, whether not enabled or, once enabled, hidden since.
    void enabled_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("logged"); // a fragment of the one error line; empty: none
        QTest::newRow("no system bus") << Setup::noSystemBus << "Failed to connect to socket";
        QTest::newRow("no fprintd") << Setup::noFprintd << "net.reactivated.Fprint";
        QTest::newRow("no reader") << Setup::noDevice << "No devices available";
        QTest::newRow("no finger enrolled") << Setup::noFinger << "Failed to discover prints";
        QTest::newRow("empty finger list") << Setup::emptyFingerList << "biometrics not enabled";
        QTest::newRow("hidden by the user") << Setup::hidden << QString();
        QTest::newRow("finger enrolled") << Setup::enrolled << QString();
    }

    void enabled()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, logged);
        const bool expected = setup == Setup::enrolled;
        const auto restartBus = qScopeGuard([&] {
            if (setup == Setup::noSystemBus)
                QVERIFY(startBus());
        });
        if (setup == Setup::noSystemBus) {
            stopBus();
            QTRY_VERIFY(!QDBusConnection(Biometrics::busConnectionName).isConnected());
        } else if (setup == Setup::noFprintd) {
            m_fprintd.reset();
        } else if (setup == Setup::noDevice) {
            m_fprintd->setFailing("GetDefaultDevice", "NoSuchDevice", "No devices available");
        } else if (setup == Setup::noFinger) {
            m_fprintd->setFailing("ListEnrolledFingers", "NoEnrolledPrints", "Failed to discover prints");
        } else if (setup == Setup::emptyFingerList) {
            m_fprintd->setFingers({});
        }

        LogCapture capture;
        Biometrics biometrics;
        QSignalSpy changed(&biometrics, &Biometrics::enabledChanged);
        QSignalSpy finished(&biometrics, &Biometrics::finished);
        hideBiometrics(true);
        biometrics.refresh();
        hideBiometrics(setup == Setup::hidden);
        biometrics.refresh();
        QVERIFY(changed.isEmpty() && !biometrics.isEnabled()); // the answer never comes inside the call
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toBool(), expected);
        QCOMPARE(biometrics.isEnabled(), expected);

        hideBiometrics(expected);
        biometrics.authenticate();
        QCOMPARE(finished.count(), 0); // answered through the event loop, not inside the call
        QVERIFY(!biometrics.isScanning());
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<Status>(), Status::failure);
        QVERIFY(settled());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(finished.count(), 1);
        QVERIFY2(loggedOnly(capture, "enabled", logged), qPrintable(capture.lines().join(u'\n')));
        if (setup == Setup::hidden)
            QCOMPARE(m_fprintd->calls(), QStringList()); // the user's choice needs no fprintd
    }

    // However a scan ends, fprintd sees the calls of its row, a claimed reader released exactly once.
    // A scan that reaches the reader first hears a retry and a forged match go by.
    void scan_data()
    {
        QTest::addColumn<Hitch>("hitch");
        QTest::addColumn<End>("end");
        QTest::addColumn<QString>("result");    // fprintd's report that ends the scan
        QTest::addColumn<Status>("expected");   // finished()'s one answer, unheard once the window closed
        QTest::addColumn<QStringList>("calls"); // all that fprintd sees
        QTest::addColumn<QString>("logged");    // a fragment of the one error line; empty: none

        QTest::newRow("match") << Hitch::none << End::report << Match << Status::success << WholeScan << "";
        QTest::newRow("no match") << Hitch::none << End::report << "verify-no-match" << Status::failure
                                  << WholeScan << "verify-no-match";
        QTest::newRow("no match, ongoing") << Hitch::none << End::ongoingReport << "verify-no-match"
                                           << Status::failure << WholeScan << "verify-no-match";
        QTest::newRow("reader disconnected, ongoing")
            << Hitch::none << End::ongoingReport << "verify-disconnected" << Status::failure << WholeScan
            << "verify-disconnected";
        QTest::newRow("reader error, ongoing") << Hitch::none << End::ongoingReport << "verify-unknown-error"
                                               << Status::failure << WholeScan << "verify-unknown-error";
        QTest::newRow("Cancel") << Hitch::none << End::cancel << "" << Status::cancelled << WholeScan << "";
        QTest::newRow("Enter manually")
            << Hitch::none << End::enterManually << "" << Status::failure << WholeScan << "manually";
        QTest::newRow("window locks")
            << Hitch::none << End::windowLocks << "" << Status::cancelled << WholeScan << "";
        QTest::newRow("window locks before the claim lands")
            << Hitch::slowClaim << End::windowLocks << "" << Status::cancelled << ClaimReleased << "";
        QTest::newRow("window closes")
            << Hitch::none << End::windowCloses << "" << Status::cancelled << WholeScan << "";
        QTest::newRow("window closes before the claim lands")
            << Hitch::slowClaim << End::windowCloses << "" << Status::cancelled << ClaimReleased << "";
        QTest::newRow("claim refused") << Hitch::claimRefused << End::none << "" << Status::failure
                                       << QStringList{"Claim()"} << "the reader refused";
        QTest::newRow("VerifyStart refused")
            << Hitch::verifyStartRefused << End::none << "" << Status::failure
            << Scanning + QStringList{"Release()"} << "the reader refused";
    }

    void scan()
    {
        QFETCH(Hitch, hitch);
        QFETCH(End, end);
        QFETCH(QString, result);
        QFETCH(Status, expected);
        QFETCH(QStringList, calls);
        QFETCH(QString, logged);
        std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        m_fprintd->setHoldingClaims(hitch == Hitch::slowClaim);
        if (hitch == Hitch::claimRefused || hitch == Hitch::verifyStartRefused)
            m_fprintd->setFailing(hitch == Hitch::claimRefused ? "Claim" : "VerifyStart", "Internal",
                                  "the reader refused");
        LogCapture capture;
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        QSignalSpy retried(biometrics.get(), &Biometrics::retryRequested);

        biometrics->authenticate();
        QVERIFY(biometrics->isScanning());
        if (hitch == Hitch::slowClaim)
            QTRY_COMPARE(m_fprintd->calls(), QStringList{"Claim()"});
        if (hitch == Hitch::none) {
            QTRY_COMPARE(m_fprintd->calls(), Scanning);
            forgeMatch(); // only the owner of fprintd's name is heard
            m_fprintd->emitVerifyStatus(QStringLiteral("verify-retry-scan"), false);
            QTRY_COMPARE(retried.count(), 1);
            QVERIFY(finished.isEmpty() && biometrics->isScanning()); // the scan goes on
        }
        if (end == End::report || end == End::ongoingReport)
            m_fprintd->emitVerifyStatus(result, end == End::report);
        else if (end == End::cancel)
            biometrics->cancel();
        else if (end == End::enterManually)
            biometrics->enterManually();
        else if (end == End::windowLocks)
            biometrics->abort();
        else if (end == End::windowCloses)
            biometrics.reset();
        QCOMPARE(finished.count(), 0); // answered through the event loop, not inside the call
        if (biometrics) {
            QTRY_COMPARE(finished.count(), 1);
            QCOMPARE(finished.first().first().value<Status>(), expected);
            QVERIFY(!biometrics->isScanning());
        }
        if (hitch == Hitch::slowClaim)
            m_fprintd->answerHeldClaim();
        QTRY_COMPARE(m_fprintd->calls(), calls);

        m_fprintd->emitVerifyStatus(Match, true); // too late: the reader is no longer ours
        QVERIFY(settled());
        QCOMPARE(m_fprintd->calls(), calls);
        QCOMPARE(finished.count(), biometrics ? 1 : 0);
        QCOMPARE(retried.count(), hitch == Hitch::none ? 1 : 0);
        QVERIFY2(loggedOnly(capture, "authenticate()", logged), qPrintable(capture.lines().join(u'\n')));
    }

    // Asked again while the last scan is still giving the reader back: the new scan waits for it.
    void scanAgainRightAfterCancel()
    {
        const std::unique_ptr<Biometrics> biometrics = enabledBiometrics();
        QVERIFY(biometrics);
        QSignalSpy finished(biometrics.get(), &Biometrics::finished);
        QSignalSpy listening(biometrics.get(), &Biometrics::readerListening);
        biometrics->authenticate();
        QTRY_COMPARE(m_fprintd->calls(), Scanning);
        QTRY_COMPARE(listening.count(), 1); // not only asked: the answer is in
        biometrics->cancel();
        biometrics->authenticate();
        QTRY_COMPARE(m_fprintd->calls(), WholeScan + Scanning);
        m_fprintd->emitVerifyStatus(Match, true);
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(finished.at(0).first().value<Status>(), Status::cancelled);
        QCOMPARE(finished.at(1).first().value<Status>(), Status::success);
        QTRY_COMPARE(m_fprintd->calls(), WholeScan + WholeScan);
    }
};

LUMISERA_TEST_MAIN(TestBiometrics)
#include "TestBiometrics.moc"

// The desktop's file chooser and the lock: answers reach the screen, focus going to the chooser
// does not lock while leaving the desktop session does, and a lock closes the chooser for good.
#include "FakePortal.h"
#include "PrivateBus.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "app/Application.h"
#include "core/AppPaths.h"
#include "core/UserDefaults.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "ui/common/FileChooser.h"
#include "ui/main/MainWindow.h"
#include "ui/storage/StorageLocationSelectionView.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using Phase = ScenePhaseMonitor::ScenePhase;

namespace {
const QString passcode = QStringLiteral("correct horse 42");

// Answers at once with the idle time it is told.
class FixedIdleSource : public IdleSource
{
public:
    explicit FixedIdleSource(std::chrono::milliseconds idle) : m_idle(idle) {}
    QString name() const override { return QStringLiteral("fixed"); }
    void ask(QObject *, Answer answer) override
    {
        ++m_asks;
        answer(m_idle);
    }
    int asks() const { return m_asks; }

private:
    std::chrono::milliseconds m_idle;
    int m_asks = 0;
};
} // namespace

class TestDesktopChooser : public QObject
{
    Q_OBJECT
public:
    TestDesktopChooser()
    {
        // libdbus reads these once, at the process's first connection.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus");
        qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName(m_bus.address()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_bus.start(), "dbus-daemon must be on PATH to stand in for the session bus");
        m_portal = std::make_unique<FakePortal>();
        QVERIFY(m_portal->ownsService());
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
        m_app = std::make_unique<Application>();
        m_app->start();
        QVERIFY(QTest::qWaitForWindowExposed(m_app->window()));
        // The desktop's own idle sources are not on the test's bus; the answer must come first.
        QTRY_VERIFY(m_app->idleMonitor()->availability() != IdleMonitor::Availability::unknown);
    }

    void init()
    {
        ScenePhaseMonitor *phase = m_app->phaseMonitor();
        phase->setWindowsHidden(false);
        phase->setApplicationState(Qt::ApplicationActive);
        QCOMPARE(phase->phase(), Phase::active);
        UserDefaults::setKeepUnlockedWhenInactive(false);
        UserDefaults::setLockWhenIdle(0);
    }

    void cleanup() { QVERIFY(!FileChooser::anyOpen()); }

    // What the portal is asked for, and what reaches the caller of its answer.
    void portalAnswersReachTheCaller_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<uint>("response");
        QTest::addColumn<QStringList>("uris");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("files chosen")
            << false << 0u << QStringList{"file:///tmp/a.png", "file:///tmp/b%20c.txt"}
            << QStringList{"/tmp/a.png", "/tmp/b c.txt"};
        QTest::newRow("folder chosen")
            << true << 0u << QStringList{"file:///srv/sync"} << QStringList{"/srv/sync"};
        QTest::newRow("cancelled") << false << 1u << QStringList{"file:///tmp/a.png"} << QStringList{};
        QTest::newRow("ended otherwise") << true << 2u << QStringList{"file:///srv/sync"} << QStringList{};
        QTest::newRow("not a local file")
            << false << 0u << QStringList{"https://example.org/a.png"} << QStringList{};
    }

    void portalAnswersReachTheCaller()
    {
        QFETCH(bool, folder);
        QFETCH(uint, response);
        QFETCH(QStringList, uris);
        QFETCH(QStringList, paths);
        FileChooser chooser(m_app->window());
        QSignalSpy finished(&chooser, &FileChooser::finished);
        const FakePortal::Call call = openChooser(chooser, folder);
        QCOMPARE(call.title, QStringLiteral("Pick"));
        QCOMPARE(call.options.value(QStringLiteral("directory")).toBool(), folder);
        QCOMPARE(call.options.value(QStringLiteral("multiple")).toBool(), !folder);
        QCOMPARE(call.options.value(QStringLiteral("current_folder")).toByteArray(), QByteArray("/tmp\0", 5));
        QVERIFY(call.options.contains(QStringLiteral("filters")) != folder);
        QVERIFY(FileChooser::anyOpen());
        m_portal->respond(call.request, response, uris);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.constFirst().constFirst().toStringList(), paths);
        QVERIFY(!chooser.isOpen());
    }

    // "Choose Synced Folder…" links the folder the portal answers with; a cancel links nothing.
    void syncedFolderFromThePortal_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }

    void syncedFolderFromThePortal()
    {
        QFETCH(bool, chosen);
        QFile::remove(AppPaths::cloudContainer());
        QTemporaryDir synced;
        StorageLocationSelectionView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto *choose = view.findChild<QPushButton *>(QStringLiteral("chooseSyncedFolderButton"));
        QTRY_VERIFY(choose && choose->isVisible());
        const qsizetype before = m_portal->calls().size();
        QTest::mouseClick(choose, Qt::LeftButton);
        QTRY_COMPARE(m_portal->calls().size(), before + 1);
        const FakePortal::Call call = m_portal->calls().constLast();
        QVERIFY(call.options.value(QStringLiteral("directory")).toBool());
        m_portal->respond(call.request, chosen ? 0 : 1, {QUrl::fromLocalFile(synced.path()).toString()});
        QTRY_VERIFY(!FileChooser::anyOpen());
        QTRY_COMPARE(QFile::symLinkTarget(AppPaths::cloudContainer()),
                     chosen ? QFileInfo(synced.path()).canonicalFilePath() : QString());
        QFile::remove(AppPaths::cloudContainer());
    }

    // Focus going to the chooser keeps the vault open; leaving the session locks and closes it.
    void lockWhileTheChooserIsUp_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("locks");
        QTest::newRow("focus to the chooser") << "inactive" << false;
        QTest::newRow("minimised") << "hidden" << true;
        QTest::newRow("session locked") << "lock" << true;
        QTest::newRow("about to sleep") << "sleep" << true;
    }

    void lockWhileTheChooserIsUp()
    {
        QFETCH(QString, event);
        QFETCH(bool, locks);
        unlockVaultForTest(passcode);
        FileChooser chooser(m_app->window());
        QSignalSpy finished(&chooser, &FileChooser::finished);
        const FakePortal::Call call = openChooser(chooser, false);
        ScenePhaseMonitor *phase = m_app->phaseMonitor();
        if (event == "inactive")
            phase->setApplicationState(Qt::ApplicationInactive);
        else if (event == "hidden")
            phase->setWindowsHidden(true);
        else if (event == "lock")
            phase->sessionLocked();
        else
            phase->prepareForSleep(true);

        QCOMPARE(KeyChainHelper::shared().isUnlocked(), !locks);
        QCOMPARE(chooser.isOpen(), !locks);
        const QStringList chosen{"file:///tmp/late.png"};
        if (locks) {
            QTRY_VERIFY(m_portal->closedRequests().contains(call.request));
            // An answer after the lock is dropped: a second chooser's answer, sent after it over
            // the same connection, shows that it has arrived.
            m_portal->respond(call.request, 0, chosen);
            expectRoundTrip();
            QCOMPARE(finished.size(), 0);
            return;
        }
        QVERIFY(!m_portal->closedRequests().contains(call.request));
        m_portal->respond(call.request, 0, chosen);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.constFirst().constFirst().toStringList(), QStringList{"/tmp/late.png"});
        // The chooser has gone and the focus did not come back: the vault locks after all.
        QTRY_VERIFY_WITH_TIMEOUT(!KeyChainHelper::shared().isUnlocked(), 10000);
    }

    // A chooser the person left open goes with any lock, and a lock of its own makes no answer.
    void anyLockClosesTheChooser()
    {
        unlockVaultForTest(passcode);
        FileChooser chooser(m_app->window());
        QSignalSpy finished(&chooser, &FileChooser::finished);
        const FakePortal::Call call = openChooser(chooser, true);
        KeyChainHelper::shared().lock();
        QVERIFY(!chooser.isOpen());
        QTRY_VERIFY(m_portal->closedRequests().contains(call.request));
        QCOMPARE(finished.size(), 0);
    }

    // Past "Lock When Idle" the vault locks while Lumisera is the active window.
    void idleLimitLocksWhileActive_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("locks");
        QTest::newRow("1 min, idle for 2") << 1 << true;
        QTest::newRow("5 min, idle for 2") << 5 << false;
    }

    void idleLimitLocksWhileActive()
    {
        QFETCH(int, minutes);
        QFETCH(bool, locks);
        auto source = std::make_unique<FixedIdleSource>(2min);
        FixedIdleSource *fixed = source.get();
        IdleMonitor::Sources sources;
        sources.push_back(std::move(source));
        IdleMonitor *idle = m_app->idleMonitor();
        idle->detect(std::move(sources));
        idle->setPollInterval(10ms);
        UserDefaults::setLockWhenIdle(minutes);
        unlockVaultForTest(passcode);
        QTRY_VERIFY(fixed->asks() >= 3 || !KeyChainHelper::shared().isUnlocked());
        QCOMPARE(KeyChainHelper::shared().isUnlocked(), !locks);
        QCOMPARE(m_app->phaseMonitor()->phase(), Phase::active);
        KeyChainHelper::shared().lock();
        idle->detect({});
    }

private:
    FakePortal::Call openChooser(FileChooser &chooser, bool folder)
    {
        const qsizetype before = m_portal->calls().size();
        chooser.open(
            {.kind = folder ? FileChooser::Kind::folder : FileChooser::Kind::files,
             .title = QStringLiteral("Pick"),
             .folder = QStringLiteral("/tmp"),
             .nameFilters = folder ? QStringList() : QStringList{"Pictures (*.png *.jpg)", "All files (*)"},
             .acceptLabel = {},
             .dialogName = {}});
        if (!QTest::qWaitFor([&] { return m_portal->calls().size() == before + 1; }, 5000))
            qWarning("the portal was not asked");
        return m_portal->calls().value(before);
    }

    void expectRoundTrip()
    {
        FileChooser second(m_app->window());
        QSignalSpy finished(&second, &FileChooser::finished);
        const FakePortal::Call call = openChooser(second, true);
        m_portal->respond(call.request, 1, {});
        QTRY_COMPARE(finished.size(), 1);
    }

    PrivateBus m_bus;
    std::unique_ptr<FakePortal> m_portal;
    std::unique_ptr<Application> m_app;
};

LUMISERA_WIDGET_TEST_MAIN(TestDesktopChooser)
#include "TestDesktopChooser.moc"

// The application object: leaving the active phase locks the vault and closes exactly the screens
// that must go.
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "app/Application.h"
#include "core/AppPaths.h"
#include "core/UserDefaults.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/ItemListModel.h"
#include "ui/common/Presenter.h"
#include "ui/common/Screen.h"
#include "ui/folder/FolderView.h"
#include "ui/main/MainWindow.h"
#include "ui/storage/StorageLocationSelectionView.h"
#include "ui/storage/StorageLocationState.h"

#include <QCheckBox>
#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using Phase = ScenePhaseMonitor::ScenePhase;
using namespace Qt::StringLiterals;

namespace {
const QString passcode = QStringLiteral("correct horse 42");

Screen *screen(const char *name, bool onBackground, bool onLock)
{
    auto *made = new Screen;
    made->setObjectName(QString::fromLatin1(name));
    made->setDismissesOnBackground(onBackground);
    made->setDismissesOnLock(onLock);
    return made;
}
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
    std::unique_ptr<Application> m_app;

private Q_SLOTS:
    void initTestCase()
    {
        // Neither the desktop's buses nor a fingerprint reader take part here.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/session_bus");
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
        m_app = std::make_unique<Application>();
        m_app->start();
        QVERIFY(QTest::qWaitForWindowExposed(m_app->window()));
        // The start-up task: the refresher runs and screen protection is on at the first start.
        QVERIFY(UserDefaults::boolean(UserDefaults::Key::privacyMonitor));
    }

    // The application sees only the phase: which desktop events lead to which phase is
    // TestScenePhaseMonitor's (a lock, the screen saver and sleep lead where minimising does).
    void leavingTheActivePhase_data()
    {
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("stayUnlocked");
        QTest::addColumn<bool>("locks");
        for (const bool stay : {false, true}) {
            const char *suffix = stay ? ", stay unlocked" : "";
            QTest::addRow("focus lost%s", suffix) << false << stay << !stay;
            QTest::addRow("minimised%s", suffix) << true << stay << true;
        }
    }

    void leavingTheActivePhase()
    {
        QFETCH(bool, background);
        QFETCH(bool, stayUnlocked);
        QFETCH(bool, locks);
        UserDefaults::setKeepUnlockedWhenInactive(stayUnlocked);
        ScenePhaseMonitor *phase = m_app->phaseMonitor();
        phase->setWindowsHidden(false);
        phase->setApplicationState(Qt::ApplicationActive);
        QCOMPARE(phase->phase(), Phase::active);
        unlockVaultForTest(passcode);

        Presenter *presenter = m_app->window()->presenter();
        const QPointer<Screen> settings = screen("settings", true, false); // Settings
        const QPointer<Screen> vault = screen("vault", true, true);        // a folder screen
        const QPointer<Screen> dialog = screen("dialog", false, false);    // a sheet it opened, unmarked
        presenter->cover(settings);
        presenter->push(vault);
        presenter->sheet(dialog);

        if (background)
            phase->setWindowsHidden(true);
        else
            phase->setApplicationState(Qt::ApplicationInactive);

        QCOMPARE(phase->phase(), background ? Phase::background : Phase::inactive);
        QCOMPARE(KeyChainHelper::shared().isUnlocked(), !locks);
        const QList<Screen *> shown = presenter->presented();
        QCOMPARE(shown.contains(vault), !locks && !background);
        QCOMPARE(shown.contains(settings), !background);
        // Whatever a vault screen opened goes with the lock, whoever presented it.
        QCOMPARE(shown.contains(dialog), !locks);
        for (Screen *left : presenter->presented())
            presenter->dismiss(left);
        QTRY_VERIFY(!vault && !settings && !dialog);
    }

    // The trees' root listings live with the Storage screen: going back into a tree shows its
    // folders at once instead of an empty grid.
    void treeRootsLiveWithStorage()
    {
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory() + u"/Receipts"_s));
        unlockVaultForTest(passcode);
        MainWindow *window = m_app->window();
        window->openStorage();
        auto *storage = window->findChild<StorageLocationSelectionView *>();
        QVERIFY(storage);
        const auto openLocal = [&]() -> FolderView * {
            Q_EMIT storage->treeRequested(StorageLocation::local, u"On Device"_s);
            return qobject_cast<FolderView *>(window->presenter()->presented().constLast());
        };
        FolderView *first = openLocal();
        QVERIFY(first);
        QCOMPARE(first->collection(), storage->state()->rootCollection(StorageLocation::local).get());
        QTRY_VERIFY(first->model() && first->model()->rowCount() == 1);
        window->presenter()->dismiss(first);
        FolderView *again = openLocal();
        QVERIFY(again && again != first);
        QCOMPARE(again->collection(), storage->state()->rootCollection(StorageLocation::local).get());
        QVERIFY(again->model() && again->model()->rowCount() == 1); // at once, no new listing awaited
        for (Screen *left : window->presenter()->presented())
            window->presenter()->dismiss(left);
    }

    // "Disable Biometrics" asks the fingerprint reader again at once, both ways.
    void biometricsSettingTakesEffectAtOnce()
    {
        unlockVaultForTest(passcode);
        m_app->window()->openSettings();
        QCheckBox *toggle = nullptr;
        QTRY_VERIFY((toggle = m_app->window()->findChild<QCheckBox *>(u"disableBiometricsToggle"_s)));
        QSignalSpy asked(m_app->biometrics(), &Biometrics::enabledChanged);
        toggle->click();
        QTRY_COMPARE(asked.count(), 1);
        QVERIFY(!m_app->biometrics()->isEnabled());
        toggle->click();
        QTRY_COMPARE(asked.count(), 2);
        for (Screen *left : m_app->window()->presenter()->presented())
            m_app->window()->presenter()->dismiss(left);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestApplication)
#include "TestApplication.moc"

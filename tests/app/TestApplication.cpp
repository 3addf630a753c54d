// The application object: leaving the active phase locks the vault and closes exactly the screens
// that must go.
#include "EventLoopMarkers.h"
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
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

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

// A sheet's keys start in a text field, as in most of the real ones.
Screen *withField(Screen *sheet)
{
    auto *field = new QLineEdit(sheet);
    (new QVBoxLayout(sheet))->addWidget(field);
    sheet->setFocusProxy(field);
    return sheet;
}

class TestApplication : public QObject
{
    Q_OBJECT
    std::unique_ptr<Application> m_app;

private Q_SLOTS:
    void init()
    {
        for (Screen *left : m_app->window()->presenter()->presented())
            m_app->window()->presenter()->dismiss(left);
    }

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

    // Escape and Ctrl+W close the screen or sheet in front, Settings and About too, one at a time;
    // on the main screen alone they do nothing.
    void keysCloseTheScreenInFront_data()
    {
        QTest::addColumn<QString>("front");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        for (const char *front : {"storage", "settings", "about", "sheet", "busy sheet", "nothing"}) {
            QTest::addRow("Escape on %s", front) << QString::fromLatin1(front) << int(Qt::Key_Escape) << 0;
            QTest::addRow("Ctrl+W on %s", front)
                << QString::fromLatin1(front) << int(Qt::Key_W) << int(Qt::ControlModifier);
        }
    }
    void keysCloseTheScreenInFront()
    {
        QFETCH(QString, front);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        MainWindow *window = m_app->window();
        Presenter *presenter = window->presenter();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->openStorage(); // under whatever comes in front
        Screen *under = presenter->front();
        if (front == u"settings"_s)
            window->openSettings();
        else if (front == u"about"_s)
            window->openAbout();
        else if (front.endsWith(u"sheet"_s))
            presenter->sheet(withField(screen("sheet", false, false)));
        // A sheet that must be answered first, or is busy, stays.
        const bool stays = front == u"busy sheet"_s;
        if (stays)
            presenter->front()->setDismissesInteractively(false);
        else if (front == u"nothing"_s)
            presenter->dismiss(under);
        const QPointer<Screen> shown = presenter->front();
        QCOMPARE(bool(shown), front != u"nothing"_s);
        QWidget *target = nullptr;
        QTRY_VERIFY((target = QApplication::focusWidget()) &&
                    (!shown || shown->isAncestorOf(target) || shown->window() == target->window()));
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (stays) {
            QVERIFY(zeroTimersRan());
            QCOMPARE(presenter->front(), shown.data());
            shown->setDismissesInteractively(true);
            QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        }
        QTRY_VERIFY(!presenter->presented().contains(shown));
        if (front == u"nothing"_s) {
            QVERIFY(presenter->presented().isEmpty());
            QVERIFY(window->isVisible());
        } else {
            QCOMPARE(presenter->front(), front == u"storage"_s ? nullptr : under); // one at a time
        }
        for (Screen *left : presenter->presented())
            presenter->dismiss(left);
        QTRY_VERIFY(!shown);
    }

    // Ctrl+Q quits from the window and from a sheet over it, and the vault locks on the way.
    void ctrlQLocksAndQuits_data()
    {
        QTest::addColumn<bool>("fromSheet");
        QTest::newRow("main window") << false;
        QTest::newRow("a sheet") << true;
    }
    void ctrlQLocksAndQuits()
    {
        QFETCH(bool, fromSheet);
        MainWindow *window = m_app->window();
        unlockVaultForTest(passcode);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        if (fromSheet) {
            window->presenter()->sheet(withField(screen("sheet", false, false)));
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        }
        QSignalSpy quits(window, &MainWindow::quitRequested);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(quits.count(), 1);
        QVERIFY(!KeyChainHelper::shared().isUnlocked());
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

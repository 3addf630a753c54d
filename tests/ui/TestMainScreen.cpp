// The main screen: its states, the unlock row, the hidden long press, the passcode field and the
// automatic jump to Storage.
#include "QuoteServer.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/UserDefaults.h"
#include "quote/QuoteSource.h"
#include "security/Biometrics.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "ui/main/ContentView.h"
#include "ui/main/MainScreenState.h"
#include "ui/main/PressGesture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <semaphore>

using Line = MainScreenState::UnlockLine;
using Key = UserDefaults::Key;

namespace {
const QString passcode = QStringLiteral("correct horse 42");
const QString batch = QStringLiteral("/api/quotes");

// A store whose reads wait while held, as one whose unlock prompt is up.
class HeldStore : public InMemoryCredentialBackend
{
public:
    CredentialResult read(const QString &account) override
    {
        m_reading = true;
        m_gate.acquire();
        m_gate.release();
        m_reading = false;
        return InMemoryCredentialBackend::read(account);
    }
    void hold() { m_gate.acquire(); }
    void release() { m_gate.release(); }
    bool isReading() const { return m_reading; }

private:
    std::binary_semaphore m_gate{1};
    std::atomic<bool> m_reading = false;
};
} // namespace

class TestMainScreen : public QObject
{
    Q_OBJECT
    QuoteServer m_server;
    std::unique_ptr<QuoteSource> m_quotes;
    std::unique_ptr<Biometrics> m_biometrics;
    std::unique_ptr<MainScreenState> m_state;
    std::unique_ptr<ContentView> m_view;
    HeldStore *m_store = nullptr;

    template <typename T> T *find(const char *name)
    {
        return m_view->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *field() { return find<QLineEdit>("passcodeField"); }
    QPushButton *line() { return find<QPushButton>("unlockLine"); }
    QWidget *quoteArea() { return find<QWidget>("quoteArea"); }

    // A main screen as the start-up shows it, its passcode check answered.
    void open(bool withPasscode)
    {
        if (withPasscode)
            QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        m_quotes = std::make_unique<QuoteSource>(m_server.address());
        m_biometrics = std::make_unique<Biometrics>();
        m_state = std::make_unique<MainScreenState>(m_quotes.get(), m_biometrics.get());
        m_view = std::make_unique<ContentView>(m_state.get());
        m_view->resize(800, 600);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->activateWindow();
        m_state->checkPasscode();
        QTRY_VERIFY(m_state->presence() != MainScreenState::Presence::checking);
    }

    void type(const QString &text)
    {
        field()->clear();
        QTest::keyClicks(field(), text);
        QTest::keyClick(field(), Qt::Key_Return);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus"); // no fingerprint reader here
        m_server.answer(batch, R"([{"q":"Next","a":"Someone"}])");
        UserDefaults::setDate(Key::installed, QDateTime::currentDateTimeUtc());
    }

    void init()
    {
        auto store = std::make_unique<HeldStore>();
        m_store = store.get();
        KeyChainHelper::shared().setBackend(std::move(store));
        KeyChainHelper::shared().lock();
        for (const Key key : {Key::obsecuredUnlockUI, Key::hideSettingOnMainScreen, Key::autoOpen})
            UserDefaults::setValue(key, false);
    }

    void cleanup()
    {
        m_view.reset();
        m_state.reset();
    }

    void unlockByPasscode()
    {
        open(false);
        QCOMPARE(line()->text(), "Tap to Set Passcode");
        QSignalSpy setup(m_state.get(), &MainScreenState::setPasscodeRequested);
        line()->click();
        QCOMPARE(setup.count(), 1);
        cleanup();

        open(true);
        QCOMPARE(line()->text(), "Tap to Unlock");
        QVERIFY(!find<QWidget>("settingsButton")->isEnabled());
        line()->click();
        QVERIFY(field()->isVisible());
        QTRY_VERIFY(field()->hasFocus());
        QVERIFY(!line()->isVisible());
        // Exactly as typed: no trimming, so a trailing space does not unlock.
        for (const QString &wrong :
             {QStringLiteral("correct horse 43"), QString(passcode + QLatin1Char(' '))}) {
            type(wrong);
            QTRY_VERIFY(field()->text().isEmpty());
            QVERIFY(field()->isVisible());
            QVERIFY(!KeyChainHelper::shared().isUnlocked());
            // Wiped, not cleared: no undo history keeps what was typed (a password field only
            // hides it; in plain echo it would come back).
            field()->setEchoMode(QLineEdit::Normal);
            QVERIFY(!field()->isUndoAvailable());
            field()->setEchoMode(QLineEdit::Password);
        }
        type(passcode);
        QTRY_VERIFY(KeyChainHelper::shared().isUnlocked());
        QCOMPARE(line()->text(), "Tap to Open");
        QVERIFY(!field()->isVisible());
        QVERIFY(find<QWidget>("settingsButton")->isEnabled());
        KeyChainHelper::shared().lock(); // locking brings the unlock line back
        QCOMPARE(line()->text(), "Tap to Unlock");
    }

    // An answer that comes after the lock never unlocks, nor opens Storage.
    void lockWhileTheCheckRuns_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("no lock") << false;
        QTest::newRow("locked meanwhile") << true;
    }
    void lockWhileTheCheckRuns()
    {
        QFETCH(bool, locked);
        UserDefaults::setValue(Key::autoOpen, true);
        open(true);
        QSignalSpy jumps(m_state.get(), &MainScreenState::storageRequested);
        line()->click();
        QTRY_VERIFY(field()->hasFocus());
        m_store->hold();
        type(passcode);
        QTRY_VERIFY(m_store->isReading());
        QVERIFY(m_state->isValidating());
        if (locked) {
            KeyChainHelper::shared().lock(); // as the window losing the focus does
            m_state->reset();
        }
        m_store->release();
        QTRY_VERIFY(!m_state->isValidating());
        QCOMPARE(KeyChainHelper::shared().isUnlocked(), !locked);
        QCOMPARE(jumps.count(), locked ? 0 : 1);
        QCOMPARE(line()->text(), locked ? u"Tap to Unlock" : u"Tap to Open");
    }

    // A store that cannot answer is not a wrong passcode: the field keeps it and says why.
    void unavailableStoreKeepsTheTypedPasscode()
    {
        open(true);
        line()->click();
        QTRY_VERIFY(field()->hasFocus());
        m_store->setFailing(true);
        type(passcode);
        auto *problem = find<QLabel>("checkProblem");
        QTRY_VERIFY(problem->isVisible());
        QVERIFY(!m_state->isValidating() && !KeyChainHelper::shared().isUnlocked());
        QCOMPARE(field()->text(), passcode);
        m_store->setFailing(false);
        QTest::keyClick(field(), Qt::Key_Return);
        QTRY_VERIFY(KeyChainHelper::shared().isUnlocked());
        QVERIFY(!problem->isVisible());
    }

    // "Rotate Daily" turns the picture in the store when a quote arrives: the screen follows.
    void backgroundFollowsTheStore()
    {
        UserDefaults::setValue(Key::backgroundImage, QStringLiteral("triplets"));
        open(false);
        QCOMPARE(m_state->backgroundImage(), QStringLiteral("triplets"));
        QSignalSpy changed(m_state.get(), &MainScreenState::changed);
        UserDefaults::setValue(Key::backgroundImage, QStringLiteral("darkZen"));
        QTRY_COMPARE(m_state->backgroundImage(), QStringLiteral("darkZen"));
        QVERIFY(!changed.isEmpty());
    }

    void unlockLineAlignment()
    {
        UserDefaults::setValue(Key::hideSettingOnMainScreen, true);
        open(true);
        QCOMPARE(m_state->unlockLineAlignment(), Qt::AlignLeading);
        QVERIFY(!find<QWidget>("appearanceSection")->isVisible());
        m_state->setSparseUI(false);
        QCOMPARE(m_state->unlockLineAlignment(), Qt::AlignTrailing);
        QVERIFY(find<QWidget>("appearanceSection")->isVisible());
    }

    void hiddenUnlock_data()
    {
        QTest::addColumn<bool>("held"); // past the long press
        QTest::addColumn<int>("movement");
        QTest::addColumn<bool>("opensField");
        QTest::addColumn<int>("quoteRequests");
        QTest::newRow("held a second") << true << 0 << true << 0;
        QTest::newRow("held with a small wobble") << true << 6 << true << 0;
        QTest::newRow("short press") << false << 0 << false << 1;
        QTest::newRow("dragged 20 px") << true << 20 << false << 0;
    }

    void hiddenUnlock()
    {
        QFETCH(bool, held);
        QFETCH(int, movement);
        QFETCH(bool, opensField);
        QFETCH(int, quoteRequests);
        UserDefaults::setValue(Key::obsecuredUnlockUI, true);
        open(true);
        QVERIFY(!line()->isVisible()); // nothing on screen hints at the vault
        const int before = m_server.requestCount(batch);
        const QPoint start = quoteArea()->rect().center();
        QTest::mousePress(quoteArea(), Qt::LeftButton, {}, start);
        if (movement)
            QTest::mouseMove(quoteArea(), start + QPoint(movement, 0));
        if (held) {
            // Started after the gesture's own timer and longer than a coarse timer may slip: once
            // it fires, a long press still armed has fired too.
            QTimer hold;
            hold.setSingleShot(true);
            hold.setTimerType(Qt::PreciseTimer);
            QSignalSpy passed(&hold, &QTimer::timeout);
            hold.start(PressGesture::longPressMilliseconds * 11 / 10);
            QVERIFY(passed.wait(5000));
        }
        QTest::mouseRelease(quoteArea(), Qt::LeftButton, {}, start + QPoint(movement, 0));
        QCOMPARE(field()->isVisible(), opensField);
        QTRY_COMPARE(m_server.requestCount(batch) - before, quoteRequests);
        if (quoteRequests)
            QTRY_COMPARE(find<QWidget>("quoteText")->property("text").toString(), QStringLiteral("Next"));
    }

    void fieldCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("focus leaves the panel") << "quote";
    }

    void fieldCloses()
    {
        QFETCH(QString, how);
        open(true);
        line()->click();
        QTRY_VERIFY(field()->hasFocus());
        QTest::keyClicks(field(), "half typed");
        if (how == "escape")
            QTest::keyClick(field(), Qt::Key_Escape);
        else
            quoteArea()->setFocus();
        QVERIFY(!field()->isVisible() && field()->text().isEmpty());
        QCOMPARE(line()->text(), "Tap to Unlock");
    }

    void fastUnlockOncePerRun()
    {
        UserDefaults::setValue(Key::autoOpen, true);
        open(true);
        QSignalSpy jumps(m_state.get(), &MainScreenState::storageRequested);
        unlockVaultForTest(passcode);
        QCOMPARE(jumps.count(), 1);
        m_state->storageShown();
        KeyChainHelper::shared().lock();
        unlockVaultForTest(passcode);
        QCOMPARE(jumps.count(), 1);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestMainScreen)
#include "TestMainScreen.moc"

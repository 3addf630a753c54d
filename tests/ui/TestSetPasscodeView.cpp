#include "TestSession.h"
#include "WidgetTestMain.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "ui/common/UserFormTextField.h"
#include "ui/main/SetPasscodeState.h"
#include "ui/main/SetPasscodeView.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestSetPasscodeView : public QObject
{
    Q_OBJECT

private:
    InMemoryCredentialBackend *m_backend = nullptr;
    std::unique_ptr<SetPasscodeView> m_view;

    template <typename T = UserFormTextField> T *child(const char *name) const
    {
        return m_view->findChild<T *>(QLatin1String(name));
    }
    UserFormTextField *first() const { return child("passcodeField"); }
    UserFormTextField *second() const { return child("repeatPasscodeField"); }
    QPushButton *button() const { return child<QPushButton>("setPasscodeButton"); }
    QMessageBox *alert() const { return child<QMessageBox>("keychainErrorAlert"); }
    void type(const QString &passcode, const QString &repeated)
    {
        QTest::keyClicks(first(), passcode);
        QTest::keyClicks(second(), repeated);
    }

private Q_SLOTS:
    void init()
    {
        auto backend = std::make_unique<InMemoryCredentialBackend>();
        m_backend = backend.get();
        KeyChainHelper::shared().setBackend(std::move(backend));
        KeyChainHelper::shared().lock();
        m_view = std::make_unique<SetPasscodeView>();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup() { m_view.reset(); }

    void buttonFollowsTheRule_data()
    {
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<bool>("enabled");
        auto row = [](const char *name, const char *passcode, const char *repeated, bool enabled) {
            QTest::newRow(name) << QString::fromLatin1(passcode) << QString::fromLatin1(repeated) << enabled;
        };
        row("nothing typed", "", "", false);
        row("acceptable", "abcdefg1", "abcdefg1", true);
        row("no digit", "abcdefgh", "abcdefgh", false);
        row("entries differ", "abcdefg1", "abcdefg2", false);
    }
    void buttonFollowsTheRule()
    {
        QFETCH(QString, passcode);
        QFETCH(QString, repeated);
        QFETCH(bool, enabled);
        QVERIFY(m_view->dismissesOnBackground());
        QTRY_COMPARE(m_view->focusWidget(), first());
        type(passcode, repeated);
        QCOMPARE(button()->isEnabled(), enabled);
        // Any further keystroke re-checks: one more character in one field only breaks equality.
        QTest::keyClick(second(), Qt::Key_X);
        QVERIFY(!button()->isEnabled());
        QTest::keyClick(second(), Qt::Key_Backspace);
        QCOMPARE(button()->isEnabled(), enabled);
        if (!enabled) {
            QTest::keyClick(second(), Qt::Key_Return);
            QVERIFY(!m_view->state()->isSaving());
            QCOMPARE(KeyChainHelper::shared().lookUp().passcode, std::nullopt);
        }
    }

    void successUnlocksAndDismisses_data()
    {
        QTest::addColumn<bool>("byReturn");
        QTest::addColumn<bool>("keyringFailsFirst");
        QTest::newRow("button") << false << false;
        QTest::newRow("Return in the repeat field") << true << false;
        QTest::newRow("again after a keyring failure") << false << true;
    }
    void successUnlocksAndDismisses()
    {
        QFETCH(bool, byReturn);
        QFETCH(bool, keyringFailsFirst);
        m_backend->setFailing(keyringFailsFirst, InMemoryCredentialBackend::InjectedFailure, true);
        QSignalSpy dismissed(m_view.get(), &Screen::dismissRequested);
        type(QStringLiteral(" abcdefg1 "), QStringLiteral("abcdefg1"));
        if (byReturn)
            QTest::keyClick(second(), Qt::Key_Return);
        else
            QTest::mouseClick(button(), Qt::LeftButton);
        // The keyring may take its time: no second save meanwhile.
        QVERIFY(keyringFailsFirst || !button()->isEnabled());
        if (keyringFailsFirst) {
            QTRY_VERIFY(alert() && alert()->isVisible());
            QCOMPARE(first()->text(), QStringLiteral(" abcdefg1 "));
            QCOMPARE(second()->text(), QStringLiteral("abcdefg1"));
            QVERIFY(!KeyChainHelper::shared().isUnlocked());
            QCOMPARE(dismissed.count(), 0);
            alert()->button(QMessageBox::Ok)->click();
            QTRY_VERIFY(!alert());
            m_backend->setFailing(false);
            QTest::mouseClick(button(), Qt::LeftButton);
        }
        QTRY_COMPARE(dismissed.count(), 1);
        QVERIFY(KeyChainHelper::shared().isUnlocked());
        // Stored as typed: the spaces only did not count for the checks.
        QCOMPARE(KeyChainHelper::shared().loadedKey(), std::optional<QString>(QStringLiteral(" abcdefg1 ")));
        KeyChainHelper::shared().lock();
        QCOMPARE(KeyChainHelper::shared().lookUp().passcode,
                 std::optional<QString>(QStringLiteral(" abcdefg1 ")));
        QVERIFY(first()->text().isEmpty() && second()->text().isEmpty());
        QVERIFY(!alert());
    }

    void closingTheSheetForgetsTheEntries()
    {
        type(QStringLiteral("abcdefg1"), QStringLiteral("abcdefg1"));
        m_view->hide();
        QVERIFY(first()->text().isEmpty() && second()->text().isEmpty());
        QVERIFY(!m_view->state()->canSet());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestSetPasscodeView)
#include "TestSetPasscodeView.moc"

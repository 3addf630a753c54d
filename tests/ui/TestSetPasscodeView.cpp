#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "SetPasscodeState.h"
#include "SetPasscodeView.h"
#include "UserFormTextField.h"
#include "WidgetTestMain.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestSetPasscodeView : public QObject
{
    Q_OBJECT

private:
    InMemoryCredentialBackend *m_backend = nullptr;
    std::unique_ptr<SetPasscodeView> m_view;

    UserFormTextField *field(const char *name) const
    {
        return m_view->findChild<UserFormTextField *>(QLatin1String(name));
    }
    UserFormTextField *first() const { return field("passcodeField"); }
    UserFormTextField *second() const { return field("repeatPasscodeField"); }
    QPushButton *button() const
    {
        return m_view->findChild<QPushButton *>(QStringLiteral("setPasscodeButton"));
    }

    // Key by key, as typed; characters outside ASCII arrive as text without a key code.
    static void typeInto(QWidget *field, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(field, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void type(const QString &passcode, const QString &repeated)
    {
        typeInto(first(), passcode);
        typeInto(second(), repeated);
        QCOMPARE(first()->text(), passcode);
        QCOMPARE(second()->text(), repeated);
    }
    QMessageBox *alert() const
    {
        return m_view->findChild<QMessageBox *>(QStringLiteral("keychainErrorAlert"));
    }

private Q_SLOTS:
    void init()
    {
        auto backend = std::make_unique<InMemoryCredentialBackend>();
        m_backend = backend.get();
        KeyChainHelper::shared().setBackend(std::move(backend));
        KeyChainHelper::shared().setLoadedKey(std::nullopt);
        m_view = std::make_unique<SetPasscodeView>();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup() { m_view.reset(); }

    void showsTheSheet()
    {
        QVERIFY(m_view->dismissesOnBackground());
        QCOMPARE(first()->placeholderText(), QStringLiteral("Passcode"));
        QCOMPARE(second()->placeholderText(), QStringLiteral("Repeat Passcode"));
        QCOMPARE(button()->text(), QStringLiteral("Set passcode"));
        QTRY_COMPARE(m_view->focusWidget(), first());
        QVERIFY(!button()->isEnabled());
    }

    void buttonFollowsTheRule_data()
    {
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("seven letters and a digit") << "abcdefg1"
                                                   << "abcdefg1" << true;
        QTest::newRow("eight letters") << "abcdefgh"
                                       << "abcdefgh" << false;
        QTest::newRow("eight digits") << "12345678"
                                      << "12345678" << false;
        QTest::newRow("three letters and a digit") << "abc1"
                                                   << "abc1" << false;
        QTest::newRow("accented letter") << "abcdéfgh1"
                                         << "abcdéfgh1" << false;
        QTest::newRow("seven and a space") << "abcdef1 "
                                           << "abcdef1 " << false;
        QTest::newRow("surrounding spaces") << "  abcdefg1"
                                            << "abcdefg1  " << true;
        QTest::newRow("entries differ") << "abcdefg1"
                                        << "abcdefg2" << false;
        QTest::newRow("repeat missing") << "abcdefg1"
                                        << "" << false;
    }
    void buttonFollowsTheRule()
    {
        QFETCH(QString, passcode);
        QFETCH(QString, repeated);
        QFETCH(bool, enabled);
        type(passcode, repeated);
        QCOMPARE(button()->isEnabled(), enabled);
        QCOMPARE(m_view->state()->canSet(), enabled);
        // Any further keystroke re-checks: one more character in one field only breaks equality.
        QTest::keyClick(second(), Qt::Key_X);
        QVERIFY(!button()->isEnabled());
        QTest::keyClick(second(), Qt::Key_Backspace);
        QCOMPARE(button()->isEnabled(), enabled);
    }

    void successUnlocksAndDismisses()
    {
        QSignalSpy dismissed(m_view.get(), &Screen::dismissRequested);
        type(QStringLiteral(" abcdefg1 "), QStringLiteral("abcdefg1"));
        QTest::mouseClick(button(), Qt::LeftButton);
        // The keyring may take its time: no second save meanwhile.
        QVERIFY(!button()->isEnabled());
        QTRY_COMPARE(dismissed.count(), 1);
        QVERIFY(KeyChainHelper::shared().isUnlocked());
        // Stored as typed: the spaces only did not count for the checks.
        QCOMPARE(KeyChainHelper::shared().loadedKey(), std::optional<QString>(QStringLiteral(" abcdefg1 ")));
        KeyChainHelper::shared().setLoadedKey(std::nullopt);
        QCOMPARE(KeyChainHelper::shared().load(), std::optional<QString>(QStringLiteral(" abcdefg1 ")));
        QVERIFY(first()->text().isEmpty());
        QVERIFY(second()->text().isEmpty());
        QVERIFY(!alert());
    }

    void returnInTheRepeatFieldSets()
    {
        QSignalSpy succeeded(m_view->state(), &SetPasscodeState::succeeded);
        type(QStringLiteral("abcdefg1"), QStringLiteral("abcdefg1"));
        QTest::keyClick(second(), Qt::Key_Return);
        QTRY_COMPARE(succeeded.count(), 1);
        QVERIFY(KeyChainHelper::shared().isUnlocked());
    }

    void returnWithABrokenRuleStoresNothing()
    {
        type(QStringLiteral("abcdefg1"), QStringLiteral("abcdefg2"));
        QTest::keyClick(second(), Qt::Key_Return);
        QVERIFY(!m_view->state()->isSaving());
        QCOMPARE(KeyChainHelper::shared().load(), std::nullopt);
    }

    void keychainFailureKeepsTheEntries()
    {
        m_backend->setFailing(true, InMemoryCredentialBackend::InjectedFailure, true);
        QSignalSpy dismissed(m_view.get(), &Screen::dismissRequested);
        type(QStringLiteral("abcdefg1"), QStringLiteral("abcdefg1"));
        QTest::mouseClick(button(), Qt::LeftButton);

        QTRY_VERIFY(alert() && alert()->isVisible());
        QCOMPARE(alert()->windowTitle(), QStringLiteral("Keychain Error"));
        QCOMPARE(alert()->text(), QStringLiteral("Unable to save passcode to keychain"));
        QCOMPARE(alert()->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(first()->text(), QStringLiteral("abcdefg1"));
        QCOMPARE(second()->text(), QStringLiteral("abcdefg1"));
        QVERIFY(!KeyChainHelper::shared().isUnlocked());
        QCOMPARE(dismissed.count(), 0);

        alert()->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!alert());
        // The user may try again once the store answers.
        QVERIFY(button()->isEnabled());
        m_backend->setFailing(false);
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE(dismissed.count(), 1);
        QVERIFY(KeyChainHelper::shared().isUnlocked());
    }

    void closingTheSheetForgetsTheEntries()
    {
        type(QStringLiteral("abcdefg1"), QStringLiteral("abcdefg1"));
        m_view->hide();
        QVERIFY(first()->text().isEmpty());
        QVERIFY(second()->text().isEmpty());
        QVERIFY(!m_view->state()->canSet());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestSetPasscodeView)
#include "TestSetPasscodeView.moc"

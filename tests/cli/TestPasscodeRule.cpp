#include "PasscodeRule.h"
#include "TestHome.h"

#include <QGuiApplication>
#include <QTest>

class TestPasscodeRule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acceptance_data()
    {
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<bool>("accepted");
        auto row = [](const char *name, const QString &passcode, const QString &repeated, bool accepted) {
            QTest::newRow(name) << passcode << repeated << accepted;
        };
        row("letters and numbers", "abcdefg1", "abcdefg1", true);
        row("entries differ", "abcdefg1", "abcdefg2", false);
        row("only the padding differs", " abcdefg1", "abcdefg1\n", true);
        row("seven and a space", "abcdef1 ", "abcdef1 ", false);
        row("no number", "abcdefgh", "abcdefgh", false);
        row("no letter", "12345678", "12345678", false);
        row("accented letter", "abcdéfg1", "abcdéfg1", false);
        row("blank", "   ", "   ", false);
        row("inner CRLF counts once", "abc\r\ndefg1", "abc\r\ndefg1", true);
        row("inner CRLF too short", "abc\r\nde1", "abc\r\nde1", false);
    }
    void acceptance()
    {
        QFETCH(QString, passcode);
        QFETCH(QString, repeated);
        QFETCH(bool, accepted);
        QCOMPARE(PasscodeRule::accepts(passcode, repeated), accepted);
        QCOMPARE(PasscodeRule::refusal(passcode, repeated).isEmpty(), accepted);
    }
};

LUMISERA_TEST_MAIN(TestPasscodeRule)
#include "TestPasscodeRule.moc"

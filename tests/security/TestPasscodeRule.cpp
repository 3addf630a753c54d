#include "TestHome.h"
#include "security/PasscodeRule.h"

#include <QGuiApplication>
#include <QTest>

class TestPasscodeRule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The command line prints the refusal: the first condition that fails, a later one must not mask it.
    void refusal_data()
    {
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("reason"); // a part of the refusal; empty when accepted
        auto row = [](const char *name, const QString &passcode, const QString &repeated,
                      const char *reason) {
            QTest::newRow(name) << passcode << repeated << QString::fromLatin1(reason);
        };
        row("seven letters and one digit", "abcdefg1", "abcdefg1", "");
        row("inner space and punctuation", "pass wd1!", "pass wd1!", "");
        row("only the padding differs", " abcdefg1", "abcdefg1\n", "");
        row("tabs and CRLF around", "\tabcdefg1\r\n", "  abcdefg1", "");
        row("inner CRLF counts once", "abc\r\ndefg1", "abc\r\ndefg1", "");
        row("blank", "   ", "   ", "empty");
        row("second blank", "abcdefg1", " \n ", "empty");
        row("empty before differ", "", "abc", "empty");
        row("entries differ in case", "abcdefg1", "ABCDEFG1", "differ");
        row("differ before short", "ab1", "ab2", "differ");
        row("seven and a space", "abcdef1 ", "abcdef1 ", "fewer than 8");
        row("three letters and one digit", "abc1", "abc1", "fewer than 8");
        row("inner CRLF too short", "abc\r\nde1", "abc\r\nde1", "fewer than 8");
        row("short before letters", "1234", "1234", "fewer than 8");
        row("eight letters no digit", "abcdefgh", "abcdefgh", "letter and one number");
        row("eight digits no letter", "12345678", "12345678", "letter and one number");
        row("letters before ASCII", "éééééééé", "éééééééé", "letter and one number");
        row("accented letter", "abcdéfg1", "abcdéfg1", "ASCII");
        row("non-ASCII digit", QStringLiteral("abcdefg\u0661"), QStringLiteral("abcdefg\u0661"), "ASCII");
    }
    void refusal()
    {
        QFETCH(QString, passcode);
        QFETCH(QString, repeated);
        QFETCH(QString, reason);
        const QString refusal = PasscodeRule::refusal(passcode, repeated);
        QCOMPARE(refusal.isEmpty(), reason.isEmpty());
        QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    }
};

LUMISERA_TEST_MAIN(TestPasscodeRule)
#include "TestPasscodeRule.moc"

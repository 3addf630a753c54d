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
        row("seven letters and one digit", "abcdefg1", "abcdefg1", true);
        row("digit first", "1abcdefg", "1abcdefg", true);
        row("inner space and punctuation", "pass wd1!", "pass wd1!", true);
        row("entries differ", "abcdefg1", "abcdefg2", false);
        row("entries differ in case", "abcdefg1", "ABCDEFG1", false);
        row("only the padding differs", " abcdefg1", "abcdefg1\n", true);
        row("tabs and CRLF around", "\tabcdefg1\r\n", "  abcdefg1", true);
        row("seven and a space", "abcdef1 ", "abcdef1 ", false);
        row("seven and a leading space", " abcdef1", " abcdef1", false);
        row("eight letters no digit", "abcdefgh", "abcdefgh", false);
        row("eight digits no letter", "12345678", "12345678", false);
        row("three letters and one digit", "abc1", "abc1", false);
        row("accented letter", "abcdéfg1", "abcdéfg1", false);
        row("combining accent", QStringLiteral("abcdefge\u0301") + QStringLiteral("1"),
            QStringLiteral("abcdefge\u0301") + QStringLiteral("1"), false);
        row("non-ASCII digit", QStringLiteral("abcdefg\u0661"), QStringLiteral("abcdefg\u0661"), false);
        row("emoji", QStringLiteral("abcdefg1\U0001F600"), QStringLiteral("abcdefg1\U0001F600"), false);
        row("blank", "   ", "   ", false);
        row("first empty", "", "abcdefg1", false);
        row("second empty", "abcdefg1", "", false);
        row("second blank", "abcdefg1", " \n ", false);
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

    // The command line prints the first condition that fails; a later one must not mask it.
    void refusalNamesTheFirstFailure_data()
    {
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty before differ") << ""
                                             << "abc"
                                             << "empty";
        QTest::newRow("differ before short") << "ab1"
                                             << "ab2"
                                             << "differ";
        QTest::newRow("short before letters") << "1234"
                                              << "1234"
                                              << "fewer than 8";
        QTest::newRow("letters before ASCII") << "éééééééé"
                                              << "éééééééé"
                                              << "letter and one number";
        QTest::newRow("ASCII") << "abcdéfg1"
                               << "abcdéfg1"
                               << "ASCII";
    }
    void refusalNamesTheFirstFailure()
    {
        QFETCH(QString, passcode);
        QFETCH(QString, repeated);
        QFETCH(QString, reason);
        const QString refusal = PasscodeRule::refusal(passcode, repeated);
        QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    }
};

LUMISERA_TEST_MAIN(TestPasscodeRule)
#include "TestPasscodeRule.moc"

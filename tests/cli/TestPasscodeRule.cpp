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
        QTest::newRow("letters and numbers") << "abcdefg1"
                                             << "abcdefg1" << true;
        QTest::newRow("entries differ") << "abcdefg1"
                                        << "abcdefg2" << false;
        QTest::newRow("only the padding differs") << " abcdefg1"
                                                  << "abcdefg1\n"
                                                  << true;
        QTest::newRow("seven and a space") << "abcdef1 "
                                           << "abcdef1 " << false;
        QTest::newRow("no number") << "abcdefgh"
                                   << "abcdefgh" << false;
        QTest::newRow("no letter") << "12345678"
                                   << "12345678" << false;
        QTest::newRow("accented letter") << "abcdéfg1"
                                         << "abcdéfg1" << false;
        QTest::newRow("blank") << "   "
                               << "   " << false;
        QTest::newRow("inner CRLF counts once") << "abc\r\ndefg1"
                                                << "abc\r\ndefg1" << true;
        QTest::newRow("inner CRLF too short") << "abc\r\nde1"
                                              << "abc\r\nde1" << false;
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

#include "TestHome.h"
#include "TwoPairSubstitutionObfuscator.h"

#include <QGuiApplication>
#include <QTest>

class TestTwoPairSubstitutionObfuscator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encode_data();
    void encode();
    void roundTrip_data();
    void roundTrip();
};

void TestTwoPairSubstitutionObfuscator::encode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("scrambled");
    // Pair (i, j) of the alphabet becomes pair (63 - i, 63 - j).
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("first pairs") << "AAAB"
                                 << "___-";
    QTest::newRow("letters, digits, marks") << "ab09-_"
                                            << "lkLCBA";
    QTest::newRow("odd length keeps its last character in clear") << "abc"
                                                                  << "lkc ";
    QTest::newRow("pairs with a dot pass") << "ab.jpg"
                                           << "lk.jWf";
    QTest::newRow("outside the alphabet") << "a é"
                                          << "a é ";
    QTest::newRow("combining accent is one character")
        << QStringLiteral("e\u0301e") << QStringLiteral("e\u0301e");
    QTest::newRow("emoji sequence is one character")
        << QStringLiteral("\U0001F469\u200D\U0001F4BBab") << QStringLiteral("\U0001F469\u200D\U0001F4BBab ");
}

void TestTwoPairSubstitutionObfuscator::encode()
{
    QFETCH(QString, name);
    QFETCH(QString, scrambled);
    QCOMPARE(TwoPairSubstitutionObfuscator::shared().encode(name), scrambled);
}

void TestTwoPairSubstitutionObfuscator::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("even") << "IMG_0001.JPEG"
                          << "IMG_0001.JPEG";
    QTest::newRow("odd, inner space") << "my report.pdf"
                                      << "my report.pdf";
    QTest::newRow("outer spaces are lost") << "  notes.txt "
                                           << "notes.txt";
    QTest::newRow("unicode") << QStringLiteral("Überraschung 🎉.heic")
                             << QStringLiteral("Überraschung 🎉.heic");
}

void TestTwoPairSubstitutionObfuscator::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const TwoPairSubstitutionObfuscator &obfuscator = TwoPairSubstitutionObfuscator::shared();
    QCOMPARE(obfuscator.decode(obfuscator.encode(name)), expected);
}

LUMISERA_TEST_MAIN(TestTwoPairSubstitutionObfuscator)

#include "TestTwoPairSubstitutionObfuscator.moc"

#include "TestHome.h"
#include "TwoPairSubstitutionObfuscator.h"

#include <QGuiApplication>
#include <QSet>
#include <QTest>

class TestTwoPairSubstitutionObfuscator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encode_data();
    void encode();
    void roundTrip_data();
    void roundTrip();
    void everyAlphabetPairMovesToAnotherAlphabetPair();
};

void TestTwoPairSubstitutionObfuscator::encode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("scrambled");
    // Pair (i, j) of the alphabet becomes pair (63 - i, 63 - j).
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("first pair") << "AA"
                                << "__";
    QTest::newRow("mixed pair") << "AB"
                                << "_-";
    QTest::newRow("letters") << "ab"
                             << "lk";
    QTest::newRow("digits and marks") << "09-_"
                                      << "LCBA";
    QTest::newRow("odd length keeps its last character in clear") << "abc"
                                                                  << "lkc ";
    QTest::newRow("dot pair passes") << "ab.jpg"
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
    QTest::newRow("odd") << "report.pdf"
                         << "report.pdf";
    QTest::newRow("inner spaces") << "my holiday  photo.png"
                                  << "my holiday  photo.png";
    QTest::newRow("outer spaces are lost") << "  notes.txt "
                                           << "notes.txt";
    QTest::newRow("unicode") << QStringLiteral("Überraschung 🎉.heic")
                             << QStringLiteral("Überraschung 🎉.heic");
    QTest::newRow("pin file") << "@.pin"
                              << "@.pin";
}

void TestTwoPairSubstitutionObfuscator::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const TwoPairSubstitutionObfuscator &obfuscator = TwoPairSubstitutionObfuscator::shared();
    QCOMPARE(obfuscator.decode(obfuscator.encode(name)), expected);
}

void TestTwoPairSubstitutionObfuscator::everyAlphabetPairMovesToAnotherAlphabetPair()
{
    const QString &alphabet = TwoPairSubstitutionObfuscator::alphabet();
    QCOMPARE(alphabet.size(), 64);
    QSet<QString> images;
    for (const QChar first : alphabet) {
        for (const QChar second : alphabet) {
            const QString pair = QString(first) + second;
            const QString image = TwoPairSubstitutionObfuscator::shared().encode(pair);
            QVERIFY(image != pair);
            QVERIFY(alphabet.contains(image.at(0)) && alphabet.contains(image.at(1)));
            images.insert(image);
        }
    }
    QCOMPARE(images.size(), 4096);
}

LUMISERA_TEST_MAIN(TestTwoPairSubstitutionObfuscator)

#include "TestTwoPairSubstitutionObfuscator.moc"

#include "TestHome.h"
#include "security/TwoPairSubstitutionObfuscator.h"

#include <QGuiApplication>
#include <QTest>

class TestTwoPairSubstitutionObfuscator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encodeAndDecode_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("scrambled"); // empty for a non-empty name: only the round trip is checked
        const auto row = [](const char *tag, const QString &name, const QString &scrambled = {}) {
            QTest::newRow(tag) << name << scrambled;
        };
        // Pair (i, j) of the alphabet becomes pair (63 - i, 63 - j).
        row("empty", "", "");
        row("first pairs", "AAAB", "___-");
        row("letters, digits, marks", "ab09-_", "lkLCBA");
        row("odd length keeps its last character in clear", "abc", "lkc ");
        row("pairs with a dot pass", "ab.jpg", "lk.jWf");
        row("outside the alphabet", "a é", "a é ");
        row("combining accent is one character", QStringLiteral("e\u0301e"), QStringLiteral("e\u0301e"));
        row("emoji sequence is one character", QStringLiteral("\U0001F469\u200D\U0001F4BBab"),
            QStringLiteral("\U0001F469\u200D\U0001F4BBab "));
        row("even", "IMG_0001.JPEG");
        row("odd, inner space", "my report.pdf");
        row("outer spaces are lost", "  notes.txt ");
        row("unicode", QStringLiteral("Überraschung 🎉.heic"));
    }

    void encodeAndDecode()
    {
        QFETCH(QString, name);
        QFETCH(QString, scrambled);
        const TwoPairSubstitutionObfuscator &obfuscator = TwoPairSubstitutionObfuscator::shared();
        if (!scrambled.isEmpty() || name.isEmpty())
            QCOMPARE(obfuscator.encode(name), scrambled);
        QCOMPARE(obfuscator.decode(obfuscator.encode(name)), name.trimmed());
    }
};

LUMISERA_TEST_MAIN(TestTwoPairSubstitutionObfuscator)

#include "TestTwoPairSubstitutionObfuscator.moc"

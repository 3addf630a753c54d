#include "FileNaming.h"
#include "TestHome.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

class TestFileNaming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generatedNames_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("picked photo") << "JPEG"
                                      << ".JPEG";
        QTest::newRow("camera") << "JPG"
                                << ".JPG";
        QTest::newRow("blank extension") << "  "
                                         << "";
        QTest::newRow("trimmed extension") << " png\n"
                                           << ".png";
    }
    void generatedNames()
    {
        QFETCH(QString, extension);
        QFETCH(QString, suffix);
        const QString name = FileNaming::generatedFileName(extension);
        QVERIFY(name.endsWith(suffix));
        const QString stem = name.left(name.size() - suffix.size());
        // Hex digits, F and A lower case, a lower-case e only where "EE" was, no separators.
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9BCDEaef]{32}$")).match(stem).hasMatch(),
                 qPrintable(name));
        QVERIFY(!QRegularExpression(QStringLiteral("e(?!E)")).match(stem).hasMatch());
        QVERIFY(FileNaming::generatedFileName(extension) != name);
    }

    void uniqueCandidates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("candidates");
        QTest::newRow("photo") << "photo.jpg"
                               << QStringList{"photo.jpg", "photo(1).jpg", "photo(1)(2).jpg",
                                              "photo(1)(2)(3).jpg"};
        QTest::newRow("two extensions")
            << "archive.tar.gz" << QStringList{"archive.tar.gz", "archive.tar(1).gz"};
        QTest::newRow("no extension") << "notes" << QStringList{"notes", "notes(1)", "notes(1)(2)"};
        QTest::newRow("repeated extension kept") << "a.jpg.jpg" << QStringList{"a.jpg.jpg", "a.jpg(1).jpg"};
        QTest::newRow("dot file") << ".profile" << QStringList{".profile", "(1).profile"};
    }
    void uniqueCandidates()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, candidates);
        for (int attempt = 0; attempt < candidates.size(); ++attempt)
            QCOMPARE(FileNaming::uniqueNameCandidate(name, attempt), candidates.at(attempt));
    }

    void folderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("plain") << "Trips" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << " \t\n" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("hidden") << ".secret" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("nul") << QString::fromUtf16(u"a\0b", 3) << false;
        QTest::newRow("255 bytes") << QString(255, QLatin1Char('x')) << true;
        QTest::newRow("256 bytes") << QString(256, QLatin1Char('x')) << false;
    }
    void folderNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, acceptable);
        QCOMPARE(FileNaming::isAcceptableFolderName(name), acceptable);
    }
};

LUMISERA_TEST_MAIN(TestFileNaming)
#include "TestFileNaming.moc"

#include "TestHome.h"
#include "storage/FileNaming.h"
#include "storage/SyncConflictName.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFileNaming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generatedNames_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("picked photo") << u"JPEG"_s << u".JPEG"_s;
        QTest::newRow("blank extension") << u"  "_s << QString();
        QTest::newRow("trimmed extension") << u" png\n"_s << u".png"_s;
    }
    void generatedNames()
    {
        QFETCH(QString, extension);
        QFETCH(QString, suffix);
        const QString name = FileNaming::generatedFileName(extension);
        // Hex digits, F and A lower case, a lower-case e only where "EE" was, no separators.
        const QRegularExpression pattern(u"^[0-9BCDEaef]{32}"_s + QRegularExpression::escape(suffix) + '$');
        QVERIFY2(pattern.match(name).hasMatch(), qPrintable(name));
        QVERIFY(!QRegularExpression(u"e(?!E)"_s).match(name).hasMatch());
        QVERIFY(FileNaming::generatedFileName(extension) != name);
    }

    void uniqueCandidates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("candidates");
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
        QTest::newRow("blank") << " \t\n" << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("hidden") << ".secret" << false;
        QTest::newRow("the PIN file's name") << "@.pin" << false;
        QTest::newRow("the PIN file's name, other case") << " @.PiN" << false;
        QTest::newRow("like the PIN file's name") << "@.pins" << true;
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

    // Lookalikes stay whole names: only exact shapes with real dates are conflict copies. A copy's
    // label by the minute, and with what a listing adds when the minute does not tell two apart.
    void syncConflictNames_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("stored");     // empty: not a conflict copy
        QTest::addColumn<QStringList>("labels"); // by the minute, with seconds, with the tag
        const QString day = u"conflict 2026-12-06"_s, minute = day + u" 15:55"_s, second = minute + u":01"_s;
        QTest::newRow("Nextcloud") << u"YXSh (conflicted copy 2026-12-06 155501).tOS"_s << u"YXSh.tOS"_s
                                   << QStringList{minute, second, second};
        QTest::newRow("Syncthing") << u"YXSh.sync-conflict-20261206-155501-ABC2EFG.tOS"_s << u"YXSh.tOS"_s
                                   << QStringList{minute, second, second + u" ABC2EFG"_s};
        QTest::newRow("Dropbox") << u"YXSh (Ann's conflicted copy 2026-12-06).tOS"_s << u"YXSh.tOS"_s
                                 << QStringList{day, day, day + u" Ann"_s};
        QTest::newRow("dots in the base") << u"a.b.sync-conflict-20261206-155501-ABCDEFG.c"_s << u"a.b.c"_s
                                          << QStringList{minute, second, second + u" ABCDEFG"_s};
        QTest::newRow("leap day") << u"Y (conflicted copy 2028-02-29 000000)"_s << u"Y"_s
                                  << QStringList{u"conflict 2028-02-29 00:00"_s,
                                                 u"conflict 2028-02-29 00:00:00"_s,
                                                 u"conflict 2028-02-29 00:00:00"_s};
        for (const char *lookalike :
             {"YXSh (conflicted copy 2026-02-30 155501).tOS", "YXSh (conflicted copy 2026-12-06 245501).tOS",
              "YXSh (conflicted copy 2026-12-06 15:55:01).tOS", "YXSh(conflicted copy 2026-12-06 155501).tOS",
              "YXSh.sync-conflict-20261206-155501-ABCDEF.tOS",
              "YXSh.sync-conflict-20261206-155501-abcdefg.tOS",
              "YXSh.sync-conflict-20261206-155561-ABCDEFG.tOS", "YXSh (conflicted copy 2026-12-06).tOS",
              "YXSh ('s conflicted copy 2026-12-06).tOS", "a.b (conflicted copy 2026-12-06 155501)",
              " (conflicted copy 2026-12-06 155501).tOS", "YXSh.tOS"})
            QTest::newRow(lookalike) << QString::fromUtf8(lookalike) << QString() << QStringList();
        QTest::newRow("trailing newline")
            << u"Y (conflicted copy 2028-02-29 000000)\n"_s << QString() << QStringList();
    }
    void syncConflictNames()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, stored);
        QFETCH(QStringList, labels);
        using enum SyncConflictName::Detail;
        const std::optional<SyncConflictName> conflict = SyncConflictName::parse(onDisk);
        QCOMPARE(conflict ? conflict->storedName : QString(), stored);
        QStringList shown;
        if (conflict)
            shown << conflict->label() << conflict->label(seconds) << conflict->label(tag);
        QCOMPARE(shown, labels);
    }

    // A file must be listed under the name it was stored by, or it could not be opened by it.
    void namesKeptByTheListing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("storable");
        QTest::newRow("plain") << u"notes.txt"_s << true << true;
        QTest::newRow("odd length") << u"note.txt2"_s << true << true;
        QTest::newRow("inner spaces") << u"two  words.pdf"_s << true << true;
        QTest::newRow("accents") << u"caf\u00e9 cr\u00e8me.jpg"_s << true << true;
        QTest::newRow("no extension") << u"README"_s << true << true;
        QTest::newRow("leading space") << u" notes.txt"_s << false << false;
        QTest::newRow("trailing space") << u"notes.txt "_s << false << false;
        QTest::newRow("leading tab") << u"\tnotes.txt"_s << false << false;
        QTest::newRow("trailing newline") << u"notes\n"_s << false << false;
        QTest::newRow("stored as the PIN file") << u" @.WiY"_s << false << false;
        QTest::newRow("extension twice") << u"a.jpg.jpg"_s << false << false;
        QTest::newRow("spaced extension") << u"a. txt"_s << false << false;
        QTest::newRow("stored like a conflict copy")
            << QStringLiteral("x (conflicted copy 2026-12-06 155501).txt") << true << true;
        QTest::newRow("the PIN file") << u"@.pin"_s << true << false;
        QTest::newRow("hidden") << u".profile"_s << true << false;
    }
    void namesKeptByTheListing()
    {
        QFETCH(QString, name);
        QFETCH(bool, kept);
        QFETCH(bool, storable);
        QCOMPARE(FileNaming::keepsItsName(name), kept);
        QCOMPARE(FileNaming::isStorableFileName(name), storable);
        if (kept)
            QCOMPARE(FileNaming::shownName(FileNaming::storedFileName(name)).fullName(), name);
    }
};

LUMISERA_TEST_MAIN(TestFileNaming)
#include "TestFileNaming.moc"

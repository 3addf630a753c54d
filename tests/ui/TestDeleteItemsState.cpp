#include "ui/folder/DeleteItemsState.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using Failures = QList<FolderOperations::Failure>;

Q_DECLARE_METATYPE(Failures)

class TestDeleteItemsState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One alert names every file that stayed and why, and says whether any went.
    void failureText_data()
    {
        QTest::addColumn<Failures>("failures"); // of a.txt, c.txt, d.txt
        QTest::addColumn<QString>("text");      // empty: no alert
        QTest::newRow("all gone") << Failures() << QString();
        QTest::newRow("one stayed") << Failures{{u"d.txt"_s, u"No such file or directory"_s}}
                                    << u"1 of 3 files could not be deleted; the others are gone.\n"
                                       "d.txt: No such file or directory"_s;
        QTest::newRow("two stayed") << Failures{{u"a.txt"_s, u"Permission denied"_s}, {u"d.txt"_s, u"Busy"_s}}
                                    << u"2 of 3 files could not be deleted; the others are gone.\n"
                                       "a.txt: Permission denied\nd.txt: Busy"_s;
        QTest::newRow("none went") << DeleteItemsState({u"a.txt"_s, u"c.txt"_s, u"d.txt"_s}).folderGone()
                                   << u"No file could be deleted.\na.txt: The folder is gone.\n"
                                      "c.txt: The folder is gone.\nd.txt: The folder is gone."_s;
    }
    void failureText()
    {
        QFETCH(Failures, failures);
        QFETCH(QString, text);
        DeleteItemsState state({u"a.txt"_s, u"c.txt"_s, u"d.txt"_s});
        QCOMPARE(state.failureText(failures), text);
        // A second press while the deletion runs starts nothing.
        QVERIFY(state.start() && state.isDeleting());
        QVERIFY(!state.start());
    }
};

QTEST_GUILESS_MAIN(TestDeleteItemsState)
#include "TestDeleteItemsState.moc"

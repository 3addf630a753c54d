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
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<Failures>("failures");
        QTest::addColumn<QString>("text"); // empty: no alert
        const QStringList three{u"a.txt"_s, u"c.txt"_s, u"d.txt"_s};
        QTest::newRow("all gone") << three << Failures() << QString();
        QTest::newRow("one stayed") << three << Failures{{u"d.txt"_s, u"No such file or directory"_s}}
                                    << u"1 of 3 files could not be deleted; the others are gone.\n"
                                       "d.txt: No such file or directory"_s;
        QTest::newRow("two stayed") << three
                                    << Failures{{u"a.txt"_s, u"Permission denied"_s},
                                                {u"d.txt"_s, u"Read-only file system"_s}}
                                    << u"2 of 3 files could not be deleted; the others are gone.\n"
                                       "a.txt: Permission denied\nd.txt: Read-only file system"_s;
        QTest::newRow("none went") << QStringList{u"a.txt"_s}
                                   << Failures{{u"a.txt"_s, u"Permission denied"_s}}
                                   << u"No file could be deleted.\na.txt: Permission denied"_s;
    }
    void failureText()
    {
        QFETCH(QStringList, names);
        QFETCH(Failures, failures);
        QFETCH(QString, text);
        QCOMPARE(DeleteItemsState(names).failureText(failures), text);
    }

    void folderGoneFailsEveryFile()
    {
        DeleteItemsState state({u"a.txt"_s, u"b.pdf"_s});
        const Failures failures = state.folderGone();
        QCOMPARE(failures.size(), 2);
        QCOMPARE(failures.at(1).name, u"b.pdf"_s);
        QCOMPARE(failures.at(1).reason, u"The folder is gone."_s);
        QCOMPARE(state.failureText(failures),
                 u"No file could be deleted.\na.txt: The folder is gone.\nb.pdf: The folder is gone."_s);
    }

    // A second press while the deletion runs starts nothing.
    void startsOnce()
    {
        DeleteItemsState state({u"a.txt"_s});
        QVERIFY(!state.isDeleting());
        QVERIFY(state.start());
        QVERIFY(state.isDeleting());
        QVERIFY(!state.start());
    }
};

QTEST_GUILESS_MAIN(TestDeleteItemsState)
#include "TestDeleteItemsState.moc"

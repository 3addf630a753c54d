#include "ui/folder/ImportSheetState.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using Phase = ImportSheetState::Phase;
using Button = ImportSheetState::Button;
using Failures = QList<ImportJob::Failure>;

Q_DECLARE_METATYPE(Failures)

class TestImportSheetState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // From "Preparing..." to the end: the sheet closes by itself unless files were left out, and
    // says once how many went in, before any list of failures; late answers change nothing.
    void ending_data()
    {
        QTest::addColumn<QStringList>("chosen"); // "close": Close pressed before choosing
        QTest::addColumn<bool>("collectionLives");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("imported");
        QTest::addColumn<Failures>("failures");
        QTest::addColumn<QStringList>("lines");
        const QStringList two{u"/a.jpg"_s, u"/b.jpg"_s};
        const Failures gone{{u"b.jpg"_s, u"No such file or directory"_s}};
        QTest::newRow("Close") << QStringList{u"close"_s} << true << false << 0 << Failures()
                               << QStringList();
        QTest::newRow("nothing chosen") << QStringList() << true << false << 0 << Failures() << QStringList();
        QTest::newRow("the folder went") << two << false << false << 0 << Failures() << QStringList();
        QTest::newRow("all in") << two << true << false << 2 << Failures() << QStringList();
        QTest::newRow("cancelled after one") << two << true << true << 1 << Failures() << QStringList();
        QTest::newRow("one left out")
            << two << true << false << 1 << gone << QStringList{u"b.jpg: No such file or directory"_s};
    }
    void ending()
    {
        QFETCH(QStringList, chosen);
        QFETCH(bool, collectionLives);
        QFETCH(bool, cancel);
        QFETCH(int, imported);
        QFETCH(Failures, failures);
        QFETCH(QStringList, lines);
        ImportSheetState state;
        QSignalSpy finished(&state, &ImportSheetState::finished);
        QSignalSpy closing(&state, &ImportSheetState::closeRequested);
        QCOMPARE(state.statusText(), u"Preparing..."_s);
        QCOMPARE(state.button(), Button::close);
        const bool closed = chosen == QStringList{u"close"_s};
        if (closed)
            state.closeWithoutImport();
        else if (state.choose(chosen, collectionLives)) {
            QCOMPARE(state.statusText(), u"Importing..."_s);
            QCOMPARE(state.button(), Button::cancel);
            QVERIFY(state.isCancelEnabled());
            QVERIFY(!state.dismissesInteractively()); // Escape would drop the outcome
            QVERIFY(!state.choose(chosen, true));     // no second import into the same sheet
            state.closeWithoutImport();               // "Close" is gone by now
            QCOMPARE(finished.count(), 0);
            if (cancel) {
                state.cancel();
                QVERIFY(!state.isCancelEnabled());
            }
            state.finish(imported, failures);
        } else {
            QVERIFY(chosen.isEmpty() || !collectionLives);
        }
        QCOMPARE(state.phase(), failures.isEmpty() ? Phase::over : Phase::failures);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), imported);
        QCOMPARE(closing.count(), failures.isEmpty() ? 1 : 0);
        QCOMPARE(state.failureLines(), lines);
        QCOMPARE(state.button(), failures.isEmpty() ? Button::close : Button::ok);
        QVERIFY(state.dismissesInteractively());
        QVERIFY(!state.choose({u"/late.jpg"_s}, true));
        state.finish(imported, failures);
        state.closeWithoutImport();
        QCOMPARE(finished.count(), 1);
    }

    void progressText_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<qint64>("bytesDone");
        QTest::addColumn<qint64>("bytesTotal");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << 0 << qint64(0) << qint64(1500) << u"0 of 3 files · 0 bytes of 1.5 kB"_s;
        QTest::newRow("one of three")
            << 1 << qint64(1000) << qint64(1500) << u"1 of 3 files · 1.0 kB of 1.5 kB"_s;
        QTest::newRow("large") << 1 << qint64(1000) << (qint64(8) << 30)
                               << u"1 of 3 files · 1.0 kB of 8.6 GB"_s;
    }
    void progressText()
    {
        QFETCH(int, done);
        QFETCH(qint64, bytesDone);
        QFETCH(qint64, bytesTotal);
        QFETCH(QString, text);
        ImportSheetState state;
        QCOMPARE(state.progressText(), QString());
        QVERIFY(state.choose({u"/a"_s, u"/b"_s, u"/c"_s}, true));
        QSignalSpy changed(&state, &ImportSheetState::changed);
        state.setProgress(done, 3, bytesDone, bytesTotal);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(state.progressText(), text);
    }
};

QTEST_GUILESS_MAIN(TestImportSheetState)
#include "TestImportSheetState.moc"

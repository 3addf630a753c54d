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
    void preparing()
    {
        ImportSheetState state;
        QCOMPARE(state.phase(), Phase::preparing);
        QCOMPARE(state.statusText(), u"Preparing..."_s);
        QCOMPARE(state.progressText(), QString());
        QCOMPARE(state.button(), Button::close);
        QVERIFY(state.dismissesInteractively());
    }

    // From the chosen files to the end: the sheet closes by itself unless files were left out,
    // and says once how many went in, before any list of failures.
    void ending_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<bool>("collectionLives");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("imported");
        QTest::addColumn<Failures>("failures");
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QStringList>("lines");
        const QStringList two{u"/a.jpg"_s, u"/b.jpg"_s};
        const Failures gone{{u"b.jpg"_s, u"No such file or directory"_s}};
        QTest::newRow("nothing chosen")
            << QStringList() << true << false << 0 << Failures() << Phase::over << QStringList();
        QTest::newRow("the folder went")
            << two << false << false << 0 << Failures() << Phase::over << QStringList();
        QTest::newRow("all in") << two << true << false << 2 << Failures() << Phase::over << QStringList();
        QTest::newRow("cancelled after one")
            << two << true << true << 1 << Failures() << Phase::over << QStringList();
        QTest::newRow("one left out") << two << true << false << 1 << gone << Phase::failures
                                      << QStringList{u"b.jpg: No such file or directory"_s};
    }
    void ending()
    {
        QFETCH(QStringList, chosen);
        QFETCH(bool, collectionLives);
        QFETCH(bool, cancel);
        QFETCH(int, imported);
        QFETCH(Failures, failures);
        QFETCH(Phase, phase);
        QFETCH(QStringList, lines);
        ImportSheetState state;
        QSignalSpy finished(&state, &ImportSheetState::finished);
        QSignalSpy closing(&state, &ImportSheetState::closeRequested);
        const bool starts = state.choose(chosen, collectionLives);
        QCOMPARE(starts, !chosen.isEmpty() && collectionLives);
        if (starts) {
            QCOMPARE(state.phase(), Phase::importing);
            QCOMPARE(state.statusText(), u"Importing..."_s);
            QCOMPARE(state.button(), Button::cancel);
            QVERIFY(state.isCancelEnabled());
            // Escape would drop the outcome.
            QVERIFY(!state.dismissesInteractively());
            QVERIFY(!state.choose(chosen, true)); // no second import into the same sheet
            state.closeWithoutImport();           // "Close" is gone by now
            QCOMPARE(finished.count(), 0);
            if (cancel) {
                state.cancel();
                QVERIFY(!state.isCancelEnabled());
                QCOMPARE(state.button(), Button::cancel);
            }
            state.finish(imported, failures);
        }
        QCOMPARE(state.phase(), phase);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), imported);
        QCOMPARE(closing.count(), failures.isEmpty() ? 1 : 0);
        QCOMPARE(state.failureLines(), lines);
        QCOMPARE(state.button(), failures.isEmpty() ? Button::close : Button::ok);
        QVERIFY(state.dismissesInteractively());
        // A late answer of the file dialog or the job changes nothing.
        QVERIFY(!state.choose(chosen, true));
        state.finish(imported, failures);
        state.closeWithoutImport();
        QCOMPARE(finished.count(), 1);
    }

    void closeBeforeChoosing()
    {
        ImportSheetState state;
        QSignalSpy finished(&state, &ImportSheetState::finished);
        QSignalSpy closing(&state, &ImportSheetState::closeRequested);
        state.closeWithoutImport();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        QCOMPARE(closing.count(), 1);
    }

    void progressText_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<qint64>("bytesDone");
        QTest::addColumn<qint64>("bytesTotal");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << 0 << 3 << qint64(0) << qint64(1500)
                               << u"0 of 3 files · 0 bytes of 1.5 kB"_s;
        QTest::newRow("one of three")
            << 1 << 3 << qint64(1000) << qint64(1500) << u"1 of 3 files · 1.0 kB of 1.5 kB"_s;
        QTest::newRow("large") << 1 << 3 << qint64(1000) << (qint64(8) << 30)
                               << u"1 of 3 files · 1.0 kB of 8.6 GB"_s;
    }
    void progressText()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(qint64, bytesDone);
        QFETCH(qint64, bytesTotal);
        QFETCH(QString, text);
        ImportSheetState state;
        QVERIFY(state.choose({u"/a"_s, u"/b"_s, u"/c"_s}, true));
        QSignalSpy changed(&state, &ImportSheetState::changed);
        state.setProgress(done, total, bytesDone, bytesTotal);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(state.progressText(), text);
        QCOMPARE(state.filesDone(), done);
    }
};

QTEST_GUILESS_MAIN(TestImportSheetState)
#include "TestImportSheetState.moc"

#include "ConnectedCollection.h"
#include "PresenterWindow.h"
#include "WidgetTestMain.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/ImportJob.h"
#include "storage/StoragePool.h"
#include "ui/common/Presenter.h"
#include "ui/folder/ImportSheet.h"

#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QThreadPool>
#include <QtTest>

using namespace Qt::StringLiterals;

// The storage pool is held while the sheet starts, so that the test sees every step of the job.
class TestImportSheet : public QObject
{
    Q_OBJECT
    QTemporaryDir m_sources;
    std::unique_ptr<PresenterWindow> m_window;
    Presenter *m_presenter = nullptr;
    std::unique_ptr<ItemCollection> m_collection;
    QStringList m_chosen;

    QString source(const QString &name, qint64 size)
    {
        QFile file(m_sources.filePath(name));
        // Sparse: a large one costs no disk, only time to read.
        return file.open(QIODevice::WriteOnly) && file.resize(size) ? file.fileName() : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(u"passcode1"_s));
        QVERIFY(unlockVaultForTest(u"passcode1"_s));
        ImportSheet::chooseFiles = [this](ImportSheet::Source source) {
            return source == ImportSheet::Source::files ? m_chosen : QStringList();
        };
    }
    void init()
    {
        const QString folder = u"Import "_s + QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(connected(FileItemType::all)->operations().createFolder(folder, std::nullopt));
        m_collection = connected(FileItemType::file, folder);

        m_window = std::make_unique<PresenterWindow>();
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_collection.reset();
    }

    // The sheet shows how far the import got and closes by itself once it ends; Cancel ends it
    // with the files finished before it.
    void progressAndEnd_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<qint64>("middleSize");
        QTest::addColumn<QString>("middleText");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<int>("imported");
        QTest::newRow("completes") << false << qint64(0) << u"1 of 3 files · 1.0 kB of 1.5 kB"_s
                                   << u"3 of 3 files · 1.5 kB of 1.5 kB"_s << 3;
        // Cancelled while the large middle file is under way: what it read so far varies.
        QTest::newRow("cancelled") << true << (qint64(8) << 30) << u"1 of 3 files · 1.0 kB of 8.6 GB"_s
                                   << u"1 of 3 files · "_s << 1;
    }
    void progressAndEnd()
    {
        QFETCH(bool, cancel);
        QFETCH(qint64, middleSize);
        QFETCH(QString, middleText);
        QFETCH(QString, endText);
        QFETCH(int, imported);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        m_chosen = {source(tag + u"-a.txt"_s, 1000), source(tag + u"-b.bin"_s, middleSize),
                    source(tag + u"-c.txt"_s, 500)};

        // The job waits behind these until the test has connected to it.
        QSemaphore gate;
        QThreadPool *pool = StoragePool::shared();
        for (int i = 0; i < pool->maxThreadCount(); ++i)
            pool->start([&gate] { gate.acquire(); });
        auto *sheet = new ImportSheet(m_collection.get(), ImportSheet::Source::files);
        QSignalSpy finished(sheet, &ImportSheet::finished);
        m_presenter->sheet(sheet);
        auto *status = sheet->findChild<QLabel *>(u"statusLabel"_s);
        auto *text = sheet->findChild<QLabel *>(u"progressText"_s);
        ImportJob *job = nullptr;
        QCOMPARE(status->text(), u"Preparing..."_s);
        QTRY_VERIFY((job = sheet->findChild<ImportJob *>()));
        QString whenMiddleStarted, statusThen;
        connect(job, &ImportJob::fileStarted, sheet, [&](const QString &name) {
            if (!name.endsWith(u"-b.bin"_s))
                return;
            whenMiddleStarted = text->text();
            statusThen = status->text();
            if (cancel)
                QTest::mouseClick(sheet->findChild<QPushButton *>(u"cancelButton"_s), Qt::LeftButton);
        });
        QString atEnd;
        connect(sheet, &ImportSheet::finished, text, [&atEnd, text] { atEnd = text->text(); });
        gate.release(pool->maxThreadCount());

        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(whenMiddleStarted, middleText);
        QCOMPARE(statusThen, u"Importing..."_s);
        QCOMPARE(finished.first().first().toInt(), imported);
        QVERIFY2(atEnd.startsWith(endText), qPrintable(atEnd));
        QTRY_VERIFY(m_presenter->presented().isEmpty());
        // The listing the job's reload published.
        QTRY_COMPARE(m_collection->items().size(), imported);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestImportSheet)
#include "TestImportSheet.moc"

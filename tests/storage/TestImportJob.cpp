#include "ConnectedCollection.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "core/UniqueFd.h"
#include "drive/CloudDrive.h"
#include "storage/DriveManager.h"
#include "storage/FileNaming.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/ImportJob.h"
#include "storage/InterruptedImports.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "storage/TemporaryCopies.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
QStringList sortedNames(const QList<StoredItemPtr> &items)
{
    QStringList names = itemNames(items);
    names.sort();
    return names;
}

// Everything in the folder on disk, hidden files included.
QStringList onDisk(const ItemCollection &collection)
{
    return namesIn(collection.driveManager()->drive()->rootDirectory());
}

// Until the job has ended and the collection has published the listing it reloaded then.
bool runToEnd(ImportJob &job, ItemCollection &collection)
{
    QSignalSpy finished(&job, &ImportJob::finished);
    job.start();
    if (!finished.wait(20000))
        return false;
    QSignalSpy applied(&collection, &ItemCollection::timestampChanged);
    return applied.wait(10000);
}
} // namespace

class TestImportJob : public QObject
{
    Q_OBJECT
    QTemporaryDir m_sources;

    QString source(const QString &relativePath, const QByteArray &content)
    {
        const QString path = m_sources.filePath(relativePath);
        return QDir().mkpath(QFileInfo(path).path()) && writeBytes(path, content) ? path : QString();
    }

    // 16 GiB and sparse: its copy is still under way when the test stops the job.
    QString largeSource(const QString &relativePath)
    {
        const QString path = source(relativePath, {});
        return QFile::resize(path, qint64(16) << 30) ? path : QString();
    }

private Q_SLOTS:
    void initTestCase() { openTestSession(u"passcode1"_s); }

    void sameNameGetsCounter()
    {
        const auto collection = connectedFolder(u"Same"_s);
        const QStringList paths{source(u"one/report.txt"_s, "first"), source(u"two/report.txt"_s, "second")};
        ImportJob job(collection.get(), testSession(), paths);
        QVERIFY(runToEnd(job, *collection));
        QCOMPARE(job.importedCount(), 2);
        QCOMPARE(sortedNames(collection->items()), (QStringList{"report(1).txt", "report.txt"}));
        const auto second = collection->driveManager()->loadFile(
            *testSession(), FileNaming::storedFileName(u"report(1).txt"_s));
        QCOMPARE(second.value_or(QByteArray()), QByteArray("second"));
        // Copied, not moved.
        QVERIFY(QFileInfo::exists(paths.at(0)) && QFileInfo::exists(paths.at(1)));
    }

    void photosGetGeneratedNamesAndDecode()
    {
        const auto collection = connectedFolder(u"Photos"_s);
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QStringList pngs{m_sources.filePath(u"shot.png"_s), source(u"again/shot.png"_s, {})};
        for (const QString &png : pngs)
            QVERIFY(picture.save(png, "PNG"));
        ImportJob job(collection.get(), testSession(), pngs, ImportJob::Mode::photos);
        QVERIFY(runToEnd(job, *collection));
        QCOMPARE(job.importedCount(), 2);

        const QList<StoredItemPtr> items = collection->items();
        QCOMPARE(items.size(), 2);
        static const QRegularExpression generated(u"^[0-9A-Fa-f]{32}\\.JPEG$"_s);
        int decoded = 0;
        for (const StoredItemPtr &item : items) {
            QVERIFY2(generated.match(item->fullName()).hasMatch(), qPrintable(item->fullName()));
            if (ImageFromDecodedData::image(item->url(), *testSession(), false, false).image.size() ==
                    QSize(3, 2) &&
                !ImageFromDecodedData::tile(item->url(), *testSession(), 64, false).image.isNull())
                ++decoded;
        }
        QCOMPARE(decoded, 2);
        QVERIFY(QFileInfo::exists(pngs.at(0)) && QFileInfo::exists(pngs.at(1)));
        QCOMPARE(QDir(AppPaths::temporaryDirectory())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // Cancel or the lock stops an import where it is: what was stored stays and the file being
    // copied leaves nothing. After the lock the folder learns what was not imported, also when the
    // sheet went with the lock; what the user cancelled is not reported as failed.
    void stoppedImportLeavesNothingPartial_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("jobGoes");
        QTest::newRow("cancelled") << true << false;
        QTest::newRow("locked, sheet still open") << false << false;
        QTest::newRow("locked, sheet closed by the lock") << false << true;
    }
    void stoppedImportLeavesNothingPartial()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, jobGoes);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const auto collection = connectedFolder(u"Stop "_s + tag);
        const QString stream = largeSource(tag + u"/stream.bin"_s);
        QVERIFY(!stream.isEmpty());
        const QString first = source(tag + u"/first.txt"_s, "stored before the stop");
        const QString missing = m_sources.filePath(tag + u"/gone.txt"_s);
        auto job = std::make_unique<ImportJob>(
            collection.get(), testSession(),
            QStringList{first, missing, stream, source(tag + u"/last.txt"_s, "never started")});
        QSignalSpy finished(job.get(), &ImportJob::finished);
        QSignalSpy applied(collection.get(), &ItemCollection::timestampChanged);
        job->start();
        QTRY_COMPARE(job->currentName(), u"stream.bin"_s);
        QTRY_VERIFY(job->bytesDone() > QFileInfo(first).size());
        if (cancel)
            job->cancel();
        else
            testSession()->end(); // the lock
        if (jobGoes)
            job.reset();
        QVERIFY(StoragePool::shared()->waitForDone(10000));
        if (job) {
            QTRY_COMPARE(finished.count(), 1);
            QCOMPARE(job->wasCancelled(), cancel);
            QCOMPARE(job->wasInterrupted(), !cancel);
            QCOMPARE(job->importedCount(), 1);
            QCOMPARE(job->failures().size(), cancel ? 1 : 3); // cancelled and never started: no failures
        }
        QCOMPARE(onDisk(*collection), QStringList{FileNaming::storedFileName(u"first.txt"_s)});
        const QList<InterruptedImports::File> notImported =
            InterruptedImports::shared().take(collection->cacheKey());
        if (cancel) {
            QCOMPARE(job->filesDone(), 2);
            QVERIFY(notImported.isEmpty());
            QVERIFY(!applied.isEmpty() || applied.wait(10000)); // the folder is listed again
            QCOMPARE(sortedNames(collection->items()), QStringList{"first.txt"});
            return;
        }
        QStringList names;
        for (const InterruptedImports::File &file : notImported)
            names << file.name;
        QCOMPARE(names, (QStringList{u"gone.txt"_s, u"stream.bin"_s, u"last.txt"_s}));
        QCOMPARE(notImported.at(0).reason, u"No such file or directory"_s);
        QCOMPARE(notImported.at(1).reason, u"The vault locked before this file was stored"_s);
        QVERIFY(InterruptedImports::shared().take(collection->cacheKey()).isEmpty()); // told once
        openTestSession(u"passcode1"_s);
    }

    // A file that cannot be stored is reported and the others go on. A FIFO or a device would
    // hold the storage thread for good (Cancel could not stop it): refused at once.
    void failingFileIsReported_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << u"missing.pdf"_s << u"No such file or directory"_s;
        QTest::newRow("folder") << u"folder.pdf"_s << u"Is a directory"_s;
        QTest::newRow("FIFO") << u"fifo.txt"_s << u"Not a regular file"_s;
        QTest::newRow("device") << u"device.bin"_s << u"Not a regular file"_s;
        QTest::newRow("name not kept")
            << u" spaced.txt"_s << u"The vault would list it under another name; rename it first"_s;
    }
    void failingFileIsReported()
    {
        QFETCH(QString, bad);
        QFETCH(QString, reason);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const auto collection = connectedFolder(u"Failing "_s + tag);
        const QString badPath = m_sources.filePath(tag + u'/' + bad);
        QVERIFY(QDir().mkpath(QFileInfo(badPath).path()));
        if (bad.startsWith(u"folder"))
            QVERIFY(QDir().mkpath(badPath));
        else if (bad.startsWith(u"fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(badPath).constData(), 0600), 0);
        else if (bad.startsWith(u"device"))
            QVERIFY(QFile::link(u"/dev/zero"_s, badPath)); // endless
        else if (bad.contains(u"spaced"))
            QCOMPARE(source(tag + u'/' + bad, "spaced"), badPath);
        ImportJob job(collection.get(), testSession(),
                      {source(tag + u"/a.txt"_s, "a"), badPath, source(tag + u"/b.rtf"_s, "b")});
        QVERIFY(runToEnd(job, *collection));
        QCOMPARE(job.importedCount(), 2);
        QCOMPARE(job.filesDone(), 3);
        QCOMPARE(job.failures().size(), 1);
        QCOMPARE(job.failures().first().name, bad);
        QCOMPARE(job.failures().first().reason, reason);
        QCOMPARE(sortedNames(collection->items()), (QStringList{"a.txt", "b.rtf"}));
    }

    // Photos go through a temporary copy first: that copy refuses what is not a regular file too.
    void fifoAmongPhotosIsRefused()
    {
        const auto collection = connectedFolder(u"Photo FIFO"_s);
        const QString pipe = m_sources.filePath(u"photo-fifo.jpg"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QCOMPARE(TemporaryCopies::copyToTemporaryDirectory(pipe, u"copy.jpg"_s), std::nullopt);
        ImportJob job(collection.get(), testSession(), {pipe}, ImportJob::Mode::photos);
        QVERIFY(runToEnd(job, *collection));
        QCOMPARE(job.importedCount(), 0);
        QCOMPARE(job.failures().size(), 1);
        QVERIFY(onDisk(*collection).isEmpty());
    }
};

LUMISERA_TEST_MAIN(TestImportJob)
#include "TestImportJob.moc"

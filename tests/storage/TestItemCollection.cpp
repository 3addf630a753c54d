#include "ConnectedCollection.h"
#include "EventLoopMarkers.h"
#include "LogCapture.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "drive/CloudDrive.h"
#include "drive/PartialFile.h"
#include "security/FileEncryptor.h"
#include "storage/DecodedImageCache.h"
#include "storage/DriveManager.h"
#include "storage/DriveNotificationCenter.h"
#include "storage/FileNaming.h"
#include "storage/FolderOperations.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "storage/ListingStamps.h"
#include "storage/StoragePool.h"
#include "storage/TemporaryCopies.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
QString rootDirectory(const ItemCollection &collection)
{
    return collection.driveManager()->drive()->rootDirectory();
}

// By the bytes: QFile would alter a name that is not UTF-8.
bool existsRaw(const QByteArray &path)
{
    struct stat status = {};
    return ::lstat(path.constData(), &status) == 0;
}

// A copy of the stored file of clearName, as a sync client or another program names it:
// "%1" stands for the stored name's base, "%2" for its extension. Answers its path.
QByteArray foreignCopy(const ItemCollection &collection, const QString &clearName, QByteArray onDisk)
{
    const QByteArray stored = QFile::encodeName(FileNaming::storedFileName(clearName));
    const qsizetype dot = stored.lastIndexOf('.');
    onDisk.replace("%1", stored.left(dot)).replace("%2", stored.mid(dot));
    const QString root = rootDirectory(collection), copied = root + u"copied"_s;
    const QByteArray copy = QFile::encodeName(root) + onDisk;
    return QFile::copy(root + QFile::decodeName(stored), copied) &&
                   std::rename(QFile::encodeName(copied).constData(), copy.constData()) == 0
               ? copy
               : QByteArray();
}
QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// A crashed import's leftover in the collection's folder, old enough to be removed when the
// folder is opened. Answers its path.
QString crashedImportLeftover(const ItemCollection &collection)
{
    const QString leftover = rootDirectory(collection) + PartialFile::namePrefix + u"crashed"_s;
    QFile crashed(leftover);
    return crashed.open(QIODevice::WriteOnly) &&
                   crashed.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-11 * 60),
                                       QFileDevice::FileModificationTime)
               ? leftover
               : QString();
}

// A timer of the change delay started now fires after every change timer started before it.
bool changeTimersRan()
{
    QTimer marker;
    marker.setSingleShot(true);
    QSignalSpy fired(&marker, &QTimer::timeout);
    marker.start(ItemCollection::changeDelayMs);
    return fired.wait(ItemCollection::changeDelayMs + 5000);
}
} // namespace

class TestItemCollection : public QObject
{
    Q_OBJECT
    QTemporaryDir m_sources;

    QString source(const QString &name, const QByteArray &content)
    {
        return writeBytes(m_sources.filePath(name), content) ? m_sources.filePath(name) : QString();
    }

    // Stores every named file (content = its place in the list) and answers the names it got.
    QStringList store(ItemCollection &collection, const QStringList &names)
    {
        QStringList stored;
        for (const QString &name : names) {
            FolderOperations op(collection.driveManager(), collection.location(), testSession());
            if (op.addToCollectionAndDelete(source(name, QByteArray::number(stored.size())), true, false))
                stored.append(op.lastStoredName());
        }
        return stored;
    }

private Q_SLOTS:
    void initTestCase() { openTestSession(u"passcode1"_s); }

    // Steps: "s" a listing starts (stamps 1, 2, …), "N" listing N finishes, "x" the folder closes.
    void newestListingWins_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shown"); // the listings shown, in order
        QTest::newRow("in order") << u"s1s2"_s << u"12"_s;
        QTest::newRow("the older finishes last") << u"ss21"_s << u"2"_s;
        QTest::newRow("the older finishes first") << u"ss12"_s << u"12"_s;
        QTest::newRow("closed while listing") << u"ssx21s3"_s << u"3"_s;
        QTest::newRow("finished twice") << u"s11"_s << u"1"_s;
        QTest::newRow("never started") << u"s2"_s << QString();
    }
    void newestListingWins()
    {
        QFETCH(QString, steps);
        QFETCH(QString, shown);
        ListingStamps stamps;
        QString accepted;
        for (const QChar step : steps) {
            if (step == u's')
                stamps.start();
            else if (step == u'x')
                stamps.invalidate();
            else if (stamps.accept(quint64(step.digitValue())))
                accepted += step;
        }
        QCOMPARE(accepted, shown);
    }

    void listingOrder()
    {
        const auto collection = connectedFolder(u"Order"_s);
        const QStringList stored{"b.jpg",      "A.jpg",          "a.jpg",     "report.PDF",  "z.pdf",
                                 "c.txt",      "d.mov",          "Zeta.doc",  "archive.zip", "noext",
                                 "\u00e9.png", "\U0001F600.png", "\uffe0.png"};
        QCOMPARE(store(*collection, stored).size(), stored.size());
        // Images, PDFs, documents, then files of other kinds, each Z→A by scalar value (U+1F600
        // above U+FFE0).
        QCOMPARE(itemNames(collection->loadItems()),
                 (QStringList{"\U0001F600.png", "\uffe0.png", "\u00e9.png", "b.jpg", "a.jpg", "A.jpg",
                              "z.pdf", "report.PDF", "d.mov", "c.txt", "Zeta.doc", "noext", "archive.zip"}));
        for (const QString &name : {u"b"_s, u"A"_s, u"a"_s})
            connectedFolder(name);
        QCOMPARE(itemNames(connected(FileItemType::all)->loadItems()), (QStringList{"A", "Order", "a", "b"}));
    }

    // A sync client may bring a folder named like the PIN file: arranged once, first with the PIN
    // entries, and never shown.
    void pinNamedFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("PIN file's name") << u"@.pin"_s;
        QTest::newRow("upper case") << u"@.PIN"_s;
        QTest::newRow("mixed case") << u"@.piN"_s;
    }
    void pinNamedFolder()
    {
        QFETCH(QString, name);
        const QString parent = u"Pin named "_s + QTest::currentDataTag();
        QVERIFY(connected(FileItemType::all)->operations().createFolder(parent, std::nullopt));
        const auto collection = connected(FileItemType::all, parent);
        QVERIFY(QDir(rootDirectory(*collection)).mkdir(name) &&
                QDir(rootDirectory(*collection)).mkdir("Trips"));
        QCOMPARE(itemNames(collection->loadItems()), (QStringList{name, "Trips"}));
        const ItemCollection::Listing listing = collection->loadListing();
        QCOMPARE(itemNames(listing.items), QStringList{"Trips"});
        QVERIFY(!listing.pin);
    }

    void uniqueNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("photo") << "photo.jpg" << QStringList{"photo.jpg", "photo(1).jpg", "photo(1)(2).jpg"};
        QTest::newRow("archive") << "archive.tar.gz" << QStringList{"archive.tar.gz", "archive.tar(1).gz"};
        QTest::newRow("no extension") << "notes" << QStringList{"notes", "notes(1)"};
        QTest::newRow("even length") << "ab.txt" << QStringList{"ab.txt", "ab(1).txt"};
    }
    void uniqueNames()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, stored);
        const auto collection = connectedFolder(u"Unique-"_s + QTest::currentDataTag());
        QCOMPARE(store(*collection, QStringList(stored.size(), name)), stored);
        // The first copy was not replaced by the later ones.
        const auto first =
            collection->driveManager()->loadFile(*testSession(), FileNaming::storedFileName(stored.first()));
        QCOMPARE(first.value_or(QByteArray()), QByteArray("0"));
        QVERIFY(!QFileInfo::exists(m_sources.filePath(name)));
    }

    // The cloud tree may reach a machine that ignores letter case: "ll.txt" and "__.txt" are
    // stored as "aa.tOS" and "AA.tOS", so there the second gets a counter; not on this machine.
    void cloudNamesEqualUpToCase()
    {
        QVERIFY(QDir().mkpath(AppPaths::cloudContainer()));
        QVERIFY(connected(FileItemType::all, {}, StorageLocation::cloud)
                    ->operations()
                    .createFolder(u"Synced"_s, std::nullopt));
        QCOMPARE(
            store(*connected(FileItemType::file, u"Synced"_s, StorageLocation::cloud), {"ll.txt", "__.txt"}),
            (QStringList{"ll.txt", "__(1).txt"}));
        QCOMPARE(store(*connectedFolder(u"Case"_s), {"ll.txt", "__.txt"}), (QStringList{"ll.txt", "__.txt"}));
    }

    void pinFileRoundTrip()
    {
        QVERIFY(connected(FileItemType::all)->operations().createFolder(u"my-photos"_s, u"  1234 "_s));
        const auto folder = connected(FileItemType::file, u"my_photos"_s);
        const QString pinName = FileNaming::scrambledName(FileNaming::pinFileName());
        QVERIFY2(QFileInfo::exists(rootDirectory(*folder) + pinName), "the PIN file keeps its padded name");
        QSignalSpy applied(folder.get(), &ItemCollection::timestampChanged);
        folder->reload();
        QVERIFY(applied.wait(5000));
        QCOMPARE(folder->pin(), std::optional<QString>(u"1234"_s));
        QVERIFY(folder->items().isEmpty());

        QVERIFY(folder->operations().removePin());
        QVERIFY(!folder->operations().removePin());
        QVERIFY(!folder->loadListing().pin);
        QVERIFY(!folder->operations().createPin(u"   "_s, u"my_photos"_s));
        // A PIN file of blanks was never written by the vault: damaged, it keeps the folder locked,
        // and still does not show.
        QVERIFY(folder->driveManager()->saveData(*testSession(), " \n", pinName));
        const ItemCollection::Listing listing = folder->loadListing();
        QVERIFY(!listing.pin && listing.pinUnreadable && listing.items.isEmpty());
    }

    // The PIN entry comes through sync clients: found under another spelling it still protects the
    // folder, and one that is there but cannot be read keeps it locked rather than open.
    void damagedPinKeepsTheFolderLocked_data()
    {
        // Done in this order to the entry as written: cut to a size, replace its bytes, rename it
        // to the stored name of another spelling, write the other spelling's entry beside it.
        QTest::addColumn<qint64>("cutTo");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("respelled");
        QTest::addColumn<QByteArray>("beside");
        QTest::addColumn<QString>("pin"); // empty: none readable
        const auto encrypted = [](const char *pin, const QString &passcode) {
            return FileEncryptor::encrypt(pin, passcode).value_or(QByteArray());
        };
        const QByteArray same = encrypted("4711", u"passcode1"_s), other = encrypted("1234", u"passcode1"_s);
        const QByteArray none;
        QTest::newRow("as written") << -1ll << none << QString() << none << u"4711"_s;
        QTest::newRow("pad space dropped") << -1ll << none << u"@.pin"_s << none << u"4711"_s;
        QTest::newRow("other letter case") << -1ll << none << u"@.PIN"_s << none << u"4711"_s;
        QTest::newRow("both spellings, one PIN") << -1ll << none << QString() << same << u"4711"_s;
        QTest::newRow("both spellings, two PINs") << -1ll << none << QString() << other << QString();
        QTest::newRow("cut short") << 10ll << none << QString() << none << QString();
        QTest::newRow("cut, pad space dropped") << 10ll << none << u"@.pin"_s << none << QString();
        QTest::newRow("damaged") << -1ll << QByteArray(16, '\x5a') << QString() << none << QString();
        QTest::newRow("empty") << 0ll << none << QString() << none << QString();
        QTest::newRow("another passcode's")
            << -1ll << encrypted("4711", u"other passcode"_s) << QString() << none << QString();
        // Read only as far as a PIN entry can go: a huge one costs nothing.
        QTest::newRow("512 MiB") << (qint64(512) << 20) << none << QString() << none << QString();
    }
    void damagedPinKeepsTheFolderLocked()
    {
        QFETCH(qint64, cutTo);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, respelled);
        QFETCH(QByteArray, beside);
        QFETCH(QString, pin);
        const QString name = u"Pinned "_s + QTest::currentDataTag();
        QVERIFY(connected(FileItemType::all)->operations().createFolder(name, u"4711"_s));
        const auto collection = connected(FileItemType::file, name);
        QVERIFY(store(*collection, {u"inside.txt"_s}).size() == 1);
        const QString folder = rootDirectory(*collection);
        const QString entry = folder + FileNaming::scrambledName(u"@.pin"_s); // with its pad space
        QVERIFY(cutTo < 0 || QFile::resize(entry, cutTo));
        QVERIFY(bytes.isNull() || writeBytes(entry, bytes));
        QVERIFY(respelled.isEmpty() || QFile::rename(entry, folder + FileNaming::storedFileName(respelled)));
        QVERIFY(beside.isNull() || writeBytes(folder + FileNaming::storedFileName(u"@.pin"_s), beside));
        const ItemCollection::Listing listing = collection->loadListing();
        QCOMPARE(listing.pin.value_or(QString()), pin);
        QCOMPARE(listing.pinUnreadable, pin.isEmpty());
        QCOMPARE(itemNames(listing.items), QStringList{u"inside.txt"_s});

        QSignalSpy applied(collection.get(), &ItemCollection::timestampChanged);
        collection->reload();
        QVERIFY(applied.wait(5000));
        QVERIFY(collection->hasPin());
        QCOMPARE(collection->pinUnreadable(), pin.isEmpty());
        // Passcode alone is the way back: a new PIN replaces every spelling of the old entry.
        QVERIFY(collection->operations().createPin(u"2468"_s, name));
        QCOMPARE(collection->loadListing().pin, std::optional<QString>(u"2468"_s));
        QVERIFY(collection->operations().removePin());
        const ItemCollection::Listing open = collection->loadListing();
        QVERIFY(!open.pin && !open.pinUnreadable);
        QCOMPARE(itemNames(open.items), QStringList{u"inside.txt"_s});
    }

    // Two writers choosing the same free name at once: the second never replaces the first.
    void twoWritersKeepBothFiles()
    {
        const auto collection = connectedFolder(u"Writers"_s);
        const QString taken = rootDirectory(*collection) + FileNaming::storedFileName(u"note.txt"_s);
        bool otherWrote = false;
        const auto otherWriter = [&](qint64) {
            if (!otherWrote) {
                QFile other(taken);
                otherWrote = other.open(QIODevice::NewOnly) && other.write("the other writer's") > 0;
            }
            return true;
        };
        FolderOperations operations(collection->driveManager(), collection->location(), testSession());
        QVERIFY(
            operations.addToCollectionAndDelete(source(u"note.txt"_s, "mine"), false, false, otherWriter));
        QVERIFY(otherWrote);
        QCOMPARE(operations.lastStoredName(), u"note(1).txt"_s);
        QCOMPARE(fileContents(taken), QByteArray("the other writer's"));
        const auto mine = collection->driveManager()->loadFile(*testSession(),
                                                               FileNaming::storedFileName(u"note(1).txt"_s));
        QCOMPARE(mine.value_or(QByteArray()), QByteArray("mine"));
    }

    // Refused before anything is written: such a file could not be found again by its name, or
    // would never be listed. Which names these are is decided, and tested, in FileNaming.
    void namesNotListedAsTheyAreAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("leading space") << u" notes.txt"_s;
        QTest::newRow("stored as the PIN file") << u" @.WiY"_s;
        QTest::newRow("hidden") << u".hidden.txt"_s;
        QTest::newRow("the PIN file") << u"@.PIN"_s;
    }
    void namesNotListedAsTheyAreAreRefused()
    {
        QFETCH(QString, name);
        const auto collection = connectedFolder(u"Refused "_s + QTest::currentDataTag());
        const QString path = source(name, "content");
        FolderOperations operations(collection->driveManager(), collection->location(), testSession());
        QVERIFY(!operations.addToCollectionAndDelete(path, false, false));
        QCOMPARE(operations.lastFailure(), std::errc::invalid_argument);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(namesIn(rootDirectory(*collection)), QStringList());
        const ItemCollection::Listing listing = collection->loadListing();
        QVERIFY(!listing.pin && !listing.pinUnreadable && listing.items.isEmpty());
    }

    void refusedFolderNames()
    {
        const auto tree = connected(FileItemType::all);
        const QStringList before = QDir(rootDirectory(*tree)).entryList(QDir::AllEntries | QDir::Hidden);
        for (const QString &name : {u".."_s, u"a/b"_s, QString::fromUtf16(u"x\0y", 3), u"@.Pin"_s})
            QVERIFY(!tree->operations().createFolder(name, u"1234"_s));
        QCOMPARE(QDir(rootDirectory(*tree)).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    void debounce()
    {
        const auto collection = connectedFolder(u"Debounce"_s);
        QSignalSpy checks(collection.get(), &ItemCollection::changeCheckStarted);
        QElapsedTimer clock;
        qint64 lastChange = 0;
        int sent = 0;
        QTimer changes;
        DriveNotificationCenter &center = DriveNotificationCenter::shared();
        connect(&changes, &QTimer::timeout, this, [&] {
            // Same folder in another letter case; the other tree's changes never count.
            Q_EMIT center.driveDidChange(UpdateEvent{StorageLocation::local, u"DEBOUNCE"_s, {u"x"_s}});
            Q_EMIT center.driveDidChange(UpdateEvent{StorageLocation::cloud, u"Debounce"_s, {u"x"_s}});
            lastChange = clock.elapsed();
            if (++sent == 10)
                changes.stop();
        });
        clock.start();
        changes.start(200);
        QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 6000);
        QCOMPARE(sent, 10);
        QVERIFY(clock.elapsed() - lastChange >= ItemCollection::changeDelayMs - 50);
        QVERIFY(postedEventsRan() && changeTimersRan());
        QCOMPARE(checks.count(), 1);
    }

    void firstLoadThenFolderGone()
    {
        const auto collection = connectedFolder(u"Doomed"_s);
        QCOMPARE(store(*collection, {"a.jpg"}).size(), 1);
        const QString leftover = crashedImportLeftover(*collection); // goes when the folder is opened
        QVERIFY(!leftover.isEmpty());
        // Listed once: on one pool thread a second listing would land before the later reload's.
        const int threads = StoragePool::shared()->maxThreadCount();
        const auto restore = qScopeGuard([threads] { StoragePool::shared()->setMaxThreadCount(threads); });
        StoragePool::shared()->setMaxThreadCount(1);
        QSignalSpy applied(collection.get(), &ItemCollection::timestampChanged);
        collection->loadFirstTime();
        collection->loadFirstTime();
        QVERIFY(applied.wait(5000));
        QVERIFY(collection->containsPhotos() && !collection->firstLoad() && !QFileInfo::exists(leftover));
        collection->reload();
        QTRY_VERIFY(applied.count() >= 2);
        QVERIFY(StoragePool::shared()->waitForDone(10000) && postedEventsRan());
        QCOMPARE(applied.count(), 2);

        QVERIFY(QDir(rootDirectory(*collection)).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(collection->folderIsGone(), 10000);
        QVERIFY(collection->items().isEmpty() && !collection->containsPhotos());
    }

    // A listing still running when the collection closes, or its folder goes, lands on nothing.
    void listingInFlightAfterClosing_data()
    {
        QTest::addColumn<bool>("closes");
        QTest::newRow("closed") << true;
        QTest::newRow("folder gone") << false;
    }
    void listingInFlightAfterClosing()
    {
        QFETCH(bool, closes);
        const auto collection = connectedFolder(closes ? u"Closing"_s : u"Vanishing"_s);
        QSignalSpy checked(collection.get(), &ItemCollection::changeCheckStarted);
        QCOMPARE(store(*collection, {"a.jpg", "b.pdf"}).size(), 2);
        // The stores' own change reports are spent: their check came and what it ran has answered.
        QVERIFY(checked.wait(ItemCollection::changeDelayMs + 5000));
        for (int round = 0; round < 2; ++round) {
            QVERIFY(StoragePool::shared()->waitForDone(10000));
            QVERIFY(postedEventsRan());
        }
        // The listing removes this leftover as it starts: once it is gone, the listing is in the pool.
        const QString leftover = crashedImportLeftover(*collection);
        QVERIFY(!leftover.isEmpty());
        collection->loadFirstTime();
        if (closes)
            collection->close();
        else
            collection->markFolderGone();
        QSignalSpy landed(collection.get(), &ItemCollection::itemsChanged);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(leftover), 10000);
        QVERIFY(StoragePool::shared()->waitForDone(10000) && postedEventsRan());
        QVERIFY(landed.isEmpty());
        QVERIFY(collection->items().isEmpty());
    }

    // Operations made before the lock and run after it change nothing: a dialog still on screen,
    // or a task still queued, cannot act on a locked vault.
    void operationsRefuseOnceLocked_data()
    {
        QTest::addColumn<QString>("operation");
        for (const char *operation :
             {"createFolder", "createFolderWithPin", "createPin", "removePin", "deleteFolder", "deleteFiles",
              "addToCollectionAndDelete", "addImageData"})
            QTest::newRow(operation) << QString::fromLatin1(operation);
    }
    void operationsRefuseOnceLocked()
    {
        QFETCH(QString, operation);
        const QString name = u"Locked "_s + operation;
        const auto collection = connectedFolder(name);
        QCOMPARE(store(*collection, {u"kept.txt"_s}), QStringList{u"kept.txt"_s});
        QVERIFY(collection->operations().createPin(u"4321"_s, collection->folderPath()));
        const auto root = connected(FileItemType::all);
        FolderOperations inFolder = collection->operations();
        FolderOperations atRoot = root->operations();
        const QStringList before = QDir(rootDirectory(*collection)).entryList(QDir::Files | QDir::Hidden);
        const QString source = this->source(u"source.txt"_s, "s");
        testSession()->end(); // the lock
        LogCapture log;
        bool done = true;
        if (operation == u"createFolder")
            done = atRoot.createFolder(u"Made after the lock"_s, std::nullopt);
        else if (operation == u"createFolderWithPin")
            done = atRoot.createFolder(u"Made after the lock"_s, u"1234"_s);
        else if (operation == u"createPin")
            done = inFolder.createPin(u"9999"_s, collection->folderPath());
        else if (operation == u"removePin")
            done = inFolder.removePin();
        else if (operation == u"deleteFolder")
            done = inFolder.deleteFolder();
        else if (operation == u"deleteFiles")
            done = inFolder.deleteFiles(collection->loadItems());
        else if (operation == u"addToCollectionAndDelete")
            done = inFolder.addToCollectionAndDelete(source, false, false);
        else
            done = inFolder.addImageData("jpeg");
        QVERIFY(!done);
        QVERIFY(log.contains(u"The vault locked before the work was done."_s));
        openTestSession(u"passcode1"_s);
        QVERIFY(!QDir(rootDirectory(*root)).exists(u"Made after the lock"_s));
        QCOMPARE(QDir(rootDirectory(*collection)).entryList(QDir::Files | QDir::Hidden), before);
        QVERIFY(QFileInfo::exists(source));
    }

    // A folder asked for with a PIN is never left without it: when the PIN entry cannot be
    // written (here: no file may grow), the folder made for it goes again.
    void folderWithPinIsNeverLeftUnprotected()
    {
        const auto root = connected(FileItemType::all);
        rlimit before{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit nothing{0, before.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &nothing), 0);
        const bool created = root->operations().createFolder(u"Protected"_s, u"1357"_s);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!created);
        QVERIFY(!QDir(rootDirectory(*root)).exists(u"Protected"_s));
        QVERIFY(root->operations().createFolder(u"Protected"_s, u"1357"_s)); // the same, with room
        QCOMPARE(connected(FileItemType::file, u"Protected"_s)->loadListing().pin, std::optional(u"1357"_s));
    }

    // The journal gets scrambled names only.
    void failedCopyLogsNoPlainName()
    {
        const auto collection = connectedFolder(u"Logged"_s);
        LogCapture log;
        QVERIFY(!collection->operations().addToCollectionAndDelete(m_sources.filePath(u"diary-2026.txt"_s),
                                                                   false, false));
        QVERIFY(log.contains(u"Failed to copy "_s + FileNaming::scrambledName(u"diary-2026.txt"_s)));
        QVERIFY(!log.contains(u"diary-2026"_s));
    }

    void closedCollectionRefuses()
    {
        const auto collection = connectedFolder(u"Closed"_s);
        const QString photo = source(u"kept.jpg"_s, "k");
        collection->close();
        collection->reload();
        QVERIFY(!collection->hasDriveManager() &&
                !collection->operations().addToCollectionAndDelete(photo, true, false));
        QVERIFY(!collection->operations().removePin() && !collection->operations().deleteFolder() &&
                !collection->operations().addImageData("jpeg"));
        QVERIFY(QFileInfo::exists(photo));
    }

    // A screen closed right after opening its folder drops the collection while it lists.
    void destroyedWhileListing()
    {
        connectedFolder(u"Brief"_s);
        for (int round = 0; round < 40; ++round) {
            auto collection =
                std::make_unique<ItemCollection>(StorageLocation::local, FileItemType::all, u"Brief"_s);
            collection->loadFirstTime();
            if (round % 2)
                QCoreApplication::processEvents(); // some go once their listing has started
        }
        QThreadPool::globalInstance()->waitForDone();
        StoragePool::shared()->waitForDone();
        QVERIFY(postedEventsRan()); // continuations of listings that outlived their collection
    }

    void fileOperations()
    {
        const auto collection = connectedFolder(u"Ops"_s);
        QVERIFY(collection->operations().addImageData("camera bytes"));
        collection->operations().importFromFiles(
            {m_sources.filePath(u"missing.jpg"_s), source(u"doc.pdf"_s, "pdf")});
        QVERIFY(QFileInfo::exists(m_sources.filePath(u"doc.pdf"_s)));
        QVERIFY(collection->operations().addToCollectionAndDelete(source(u"picked.heic"_s, "p"), true, true));
        const QList<StoredItemPtr> items = collection->loadItems();
        QStringList extensions = itemNames(items, true);
        extensions.sort();
        QCOMPARE(extensions, (QStringList{"JPEG", "JPG", "pdf"}));

        ItemListModel model(collection.get());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        collection->reload();
        QTRY_COMPARE(model.rowCount(), 3);
        QCOMPARE(model.data(model.index(2), ItemListModel::FullNameRole).toString(), u"doc.pdf"_s);

        // Pictures deleted through the vault leave the caches, those of a deleted folder too.
        DecodedImageCache::thumbnails().setObject(ImageFromDecodedData::cacheKey(items.at(0)->url()),
                                                  QImage(4, 4, QImage::Format_RGB32));
        DecodedImageCache::thumbnails().setObject(ImageFromDecodedData::cacheKey(items.at(2)->url()),
                                                  QImage(4, 4, QImage::Format_RGB32));
        QVERIFY(collection->operations().deleteFiles(items.mid(0, 2)) &&
                !collection->operations().deleteFiles(items.mid(0, 1)));
        QCOMPARE(DecodedImageCache::thumbnails().count(), 1);
        QCOMPARE(itemNames(collection->loadItems()), QStringList{"doc.pdf"});
        QVERIFY(collection->operations().deleteFolder() && !collection->driveManager()->drive());
        QCOMPARE(DecodedImageCache::thumbnails().count(), 0);
    }

    // Foreign copies of a stored file are listed by what they stand for, each under a name of its
    // own, and opened and deleted by their bytes. The other clients' shapes differ only in
    // parsing (TestFileNaming).
    void foreignCopiesGetNamesOfTheirOwn_data()
    {
        QTest::addColumn<QStringList>("stored"); // besides shot.png, under these clear names
        QTest::addColumn<QList<QByteArray>>("copies");
        QTest::addColumn<QStringList>("listed"); // besides shot.png and the stored ones
        QTest::newRow("one copy: the minute")
            << QStringList() << QList<QByteArray>{"%1 (conflicted copy 2026-12-06 155501)%2"_ba}
            << QStringList{u"shot (conflict 2026-12-06 15:55).png"_s};
        QTest::newRow("name not UTF-8")
            << QStringList() << QList<QByteArray>{"\xff\xfe%2"_ba} << QStringList{u"\ufffd\ufffd.png"_s};
        QTest::newRow("account not UTF-8")
            << QStringList() << QList<QByteArray>{"%1 (Ren\xe9's conflicted copy 2026-12-06)%2"_ba}
            << QStringList{u"shot (conflict 2026-12-06).png"_s};
        QTest::newRow("two of a minute: seconds")
            << QStringList()
            << QList<QByteArray>{"%1 (conflicted copy 2026-12-06 155501)%2"_ba,
                                 "%1 (conflicted copy 2026-12-06 155559)%2"_ba}
            << QStringList{u"shot (conflict 2026-12-06 15:55:01).png"_s,
                           u"shot (conflict 2026-12-06 15:55:59).png"_s};
        QTest::newRow("two of a second: the client's tag")
            << QStringList()
            << QList<QByteArray>{"%1 (conflicted copy 2026-12-06 155501)%2"_ba,
                                 "%1.sync-conflict-20261206-155501-ABCDEFG%2"_ba}
            << QStringList{u"shot (conflict 2026-12-06 15:55:01 ABCDEFG).png"_s,
                           u"shot (conflict 2026-12-06 15:55:01).png"_s};
        QTest::newRow("two of a day: the account")
            << QStringList()
            << QList<QByteArray>{"%1 (Ann's conflicted copy 2026-12-06)%2"_ba,
                                 "%1 (Bob's conflicted copy 2026-12-06)%2"_ba}
            << QStringList{u"shot (conflict 2026-12-06 Ann).png"_s, u"shot (conflict 2026-12-06 Bob).png"_s};
        QTest::newRow("alike even with the tag: numbered")
            << QStringList{u"shot (conflict 2026-12-06).png"_s, u"shot (conflict 2026-12-06 Ann).png"_s}
            << QList<QByteArray>{"%1 (Ann's conflicted copy 2026-12-06)%2"_ba}
            << QStringList{u"shot (conflict 2026-12-06 Ann, 2).png"_s};
    }
    void foreignCopiesGetNamesOfTheirOwn()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<QByteArray>, copies);
        QFETCH(QStringList, listed);
        const auto collection = connectedFolder(u"Foreign "_s + QTest::currentDataTag());
        // A picture too short for the HEIF check: libheif, once loaded, crashes this process at exit.
        const QByteArray picture = "P1\n1 1\n1\n";
        QVERIFY(
            collection->operations().addToCollectionAndDelete(source(u"shot.png"_s, picture), true, false));
        QCOMPARE(store(*collection, stored), stored);
        QList<QByteArray> onDisk;
        for (const QByteArray &copy : copies)
            onDisk.append(foreignCopy(*collection, u"shot.png"_s, copy));
        QVERIFY(!onDisk.contains(QByteArray()));
        QCOMPARE(sorted(itemNames(collection->loadItems())), sorted(listed + stored << u"shot.png"_s));
        QList<StoredItemPtr> copied;
        for (const StoredItemPtr &item : collection->loadItems()) {
            if (!listed.contains(item->fullName()))
                continue;
            copied.append(item);
            QCOMPARE(ImageFromDecodedData::image(item->url(), *testSession(), false, false).image.size(),
                     QSize(1, 1));
            const auto opened =
                TemporaryCopies::createDecryptedTempFile(*testSession(), item->url(), u"opened.png"_s);
            QVERIFY(opened && fileContents(*opened) == picture && QFile::remove(*opened));
        }
        QVERIFY(collection->operations().deleteFiles(copied));
        for (const QByteArray &copy : onDisk)
            QVERIFY(!existsRaw(copy));
        QCOMPARE(sorted(itemNames(collection->loadItems())), sorted(stored + QStringList{u"shot.png"_s}));
    }
};

LUMISERA_TEST_MAIN(TestItemCollection)
#include "TestItemCollection.moc"

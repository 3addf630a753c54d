#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "storage/DriveManager.h"
#include "storage/FileNaming.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"
#include "storage/TreeKeyCheck.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/types.h>

using namespace Qt::StringLiterals;
using State = TreeKeyCheck::State;

Q_DECLARE_METATYPE(TreeKeyCheck::State)

namespace {
const QString passcode = u"Passcode1"_s;
const QString otherPasscode = u"Otherpass2"_s;

QString entryIn(const QString &root)
{
    return root + u'/' + TreeKeyCheck::entryName;
}

// What a finished setup left at the entry's place, to tell whether a call changed it.
QString describe(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return u"link to "_s + info.symLinkTarget();
    struct stat status
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return u"nothing"_s;
    if (S_ISFIFO(status.st_mode))
        return u"fifo"_s;
    if (S_ISDIR(status.st_mode))
        return u"folder"_s;
    return QString::fromLatin1(fileContents(path).toHex());
}
} // namespace

class TestTreeKeyCheck : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_root;

    // Puts the entry named by kind at the root.
    bool makeEntry(const QString &kind)
    {
        const QString entry = entryIn(m_root);
        if (kind == "none")
            return true;
        if (kind == "own")
            return writeBytes(entry, TreeKeyCheck::encryptedEntry(passcode));
        if (kind == "other")
            return writeBytes(entry, TreeKeyCheck::encryptedEntry(otherPasscode));
        if (kind == "cut")
            return writeBytes(entry, TreeKeyCheck::encryptedEntry(passcode).left(15));
        if (kind == "empty")
            return writeBytes(entry, QByteArray());
        if (kind == "huge")
            return writeBytes(entry, TreeKeyCheck::encryptedEntry(passcode).repeated(300));
        if (kind == "link") {
            // The link's target is an entry this passcode opens: following it would say "matches".
            const QString target = m_dir.filePath(u"outside"_s);
            return writeBytes(target, TreeKeyCheck::encryptedEntry(passcode)) && QFile::link(target, entry);
        }
        if (kind == "fifo")
            return ::mkfifo(QFile::encodeName(entry).constData(), 0600) == 0;
        if (kind == "folder")
            return QDir().mkdir(entry);
        return false;
    }

private Q_SLOTS:
    void init()
    {
        m_root = m_dir.filePath(u"tree"_s);
        QDir(m_root).removeRecursively();
        QFile::remove(m_dir.filePath(u"outside"_s));
        QVERIFY(QDir().mkpath(m_root));
    }

    void entries_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<State>("state");
        QTest::addColumn<bool>("ensureAccepts");
        QTest::addColumn<bool>("writeAccepts");
        QTest::newRow("none") << "none" << State::absent << true << true;
        QTest::newRow("own passcode") << "own" << State::matches << true << true;
        QTest::newRow("other passcode") << "other" << State::otherPasscode << false << true;
        QTest::newRow("cut short") << "cut" << State::unreadable << false << true;
        QTest::newRow("empty") << "empty" << State::unreadable << false << true;
        QTest::newRow("too large") << "huge" << State::unreadable << false << true;
        QTest::newRow("link") << "link" << State::unreadable << false << false;
        QTest::newRow("fifo") << "fifo" << State::unreadable << false << false;
        QTest::newRow("folder") << "folder" << State::unreadable << false << false;
    }

    void entries()
    {
        QFETCH(QString, kind);
        QFETCH(State, state);
        QVERIFY(makeEntry(kind));
        QCOMPARE(TreeKeyCheck::state(m_root, passcode), state);
    }

    // ensure() writes only where nothing is, and never replaces what it refuses.
    void ensureRefusesWithoutTouching_data() { entries_data(); }
    void ensureRefusesWithoutTouching()
    {
        QFETCH(QString, kind);
        QFETCH(bool, ensureAccepts);
        QVERIFY(makeEntry(kind));
        const QString before = describe(entryIn(m_root));
        const QString refusal = TreeKeyCheck::ensure(m_root, passcode);
        QCOMPARE(refusal.isEmpty(), ensureAccepts);
        if (kind == "other")
            QCOMPARE(refusal, u"This folder tree was written with another passcode"_s);
        if (ensureAccepts) {
            QCOMPARE(fileContents(entryIn(m_root)), TreeKeyCheck::encryptedEntry(passcode));
            QCOMPARE(TreeKeyCheck::state(m_root, passcode), State::matches);
        } else {
            QCOMPARE(describe(entryIn(m_root)), before);
        }
        // Nothing but the entry: no hidden sibling left behind.
        QCOMPARE(namesIn(m_root), QStringList{TreeKeyCheck::entryName});
        QCOMPARE(fileContents(m_dir.filePath(u"outside"_s)),
                 kind == "link" ? TreeKeyCheck::encryptedEntry(passcode) : QByteArray());
    }

    // write() replaces a file whatever it holds (a passcode change), never a link, FIFO or folder.
    void writeReplacesOnlyFiles_data() { entries_data(); }
    void writeReplacesOnlyFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, writeAccepts);
        QVERIFY(makeEntry(kind));
        const QString before = describe(entryIn(m_root));
        QCOMPARE(TreeKeyCheck::write(m_root, otherPasscode).isEmpty(), writeAccepts);
        if (writeAccepts)
            QCOMPARE(TreeKeyCheck::state(m_root, otherPasscode), State::matches);
        else
            QCOMPARE(describe(entryIn(m_root)), before);
        QCOMPARE(namesIn(m_root), QStringList{TreeKeyCheck::entryName});
    }

    void missingRootHoldsNoEntryAndGetsNone()
    {
        QCOMPARE(TreeKeyCheck::state(m_dir.filePath(u"missing"_s), passcode), State::absent);
        QVERIFY(!TreeKeyCheck::ensure(m_dir.filePath(u"missing"_s), passcode).isEmpty());
        QVERIFY(!QFileInfo::exists(m_dir.filePath(u"missing"_s)));
    }
};

// The tree of a home, as the folder operations write it.
class TestTreeKeyCheckInHome : public QObject
{
    Q_OBJECT
    const QString m_tree = AppPaths::documentsDirectory();

    static std::shared_ptr<DriveManager> root()
    {
        const auto manager = FolderOperations::makeDriveManager(StorageLocation::local, QString());
        manager->connect();
        return manager;
    }
    static FolderOperations operationsIn(const QString &folder)
    {
        const auto manager = FolderOperations::makeDriveManager(StorageLocation::local, folder);
        manager->connect();
        return FolderOperations(manager, StorageLocation::local, testSession());
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_tree).removeRecursively();
        openTestSession(passcode);
        QVERIFY(DriveManager::getCloudDrive(StorageLocation::local, QString(), true));
    }

    void firstWriteLeavesAnEntryTheListingSkips()
    {
        QVERIFY(!QFileInfo::exists(entryIn(m_tree)));
        QVERIFY(FolderOperations(root(), StorageLocation::local, testSession()).createFolder(u"Trips"_s, {}));
        QCOMPARE(TreeKeyCheck::state(m_tree, passcode), State::matches);
        const ItemCollection::Listing listing =
            ItemCollection::listFolder(root(), StorageLocation::local, FileItemType::all, *testSession());
        QCOMPARE(listing.items.size(), 1);
        QCOMPARE(listing.items.first()->fullName(), u"Trips"_s);
    }

    // Another machine's passcode: every write is refused before anything reaches the tree.
    void anotherPasscodeWritesNothing_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("new folder") << "mkdir";
        QTest::newRow("add a file") << "add";
        QTest::newRow("camera picture") << "camera";
        QTest::newRow("set a PIN") << "pin";
        QTest::newRow("remove the PIN") << "unpin";
    }
    void anotherPasscodeWritesNothing()
    {
        QFETCH(QString, operation);
        QVERIFY(FolderOperations(root(), StorageLocation::local, testSession())
                    .createFolder(u"Trips"_s, u"1234"_s));
        QTemporaryDir outside;
        const QString source = outside.filePath(u"notes.txt"_s);
        QVERIFY(writeBytes(source, "notes"));
        const QStringList before = filesUnder(m_tree);
        QStringList contents;
        for (const QString &path : before)
            contents.append(QString::fromLatin1(fileContents(path).toHex()));

        openTestSession(otherPasscode);
        FolderOperations operations = operationsIn(u"Trips"_s);
        bool done = true;
        if (operation == "mkdir")
            done =
                FolderOperations(root(), StorageLocation::local, testSession()).createFolder(u"Work"_s, {});
        else if (operation == "add")
            done = operations.addToCollectionAndDelete(source, false, false);
        else if (operation == "camera")
            done = operations.addImageData("picture");
        else if (operation == "pin")
            done = operations.createPin(u"5678"_s, u"Trips"_s);
        else
            done = operations.removePin();
        QVERIFY(!done);
        if (operation != "mkdir")
            QCOMPARE(operations.treeRefusal(), TreeKeyCheck::otherPasscodeText());
        QCOMPARE(filesUnder(m_tree), before);
        QStringList after;
        for (const QString &path : filesUnder(m_tree))
            after.append(QString::fromLatin1(fileContents(path).toHex()));
        QCOMPARE(after, contents);
        QCOMPARE(fileContents(source), QByteArray("notes"));
    }

    // The answer is remembered per session, but an entry replaced since is judged again.
    void replacedEntryIsNoticed()
    {
        QVERIFY(FolderOperations(root(), StorageLocation::local, testSession()).createFolder(u"Trips"_s, {}));
        FolderOperations trips = operationsIn(u"Trips"_s);
        QVERIFY(trips.addImageData("first"));
        // Another machine changed the passcode; its sync client replaced the entry.
        QVERIFY(QFile::remove(entryIn(m_tree)));
        QVERIFY(writeBytes(entryIn(m_tree), TreeKeyCheck::encryptedEntry(otherPasscode)));
        const qsizetype files = namesIn(m_tree + u"/Trips"_s).size();
        QVERIFY(!trips.addImageData("second"));
        QCOMPARE(trips.treeRefusal(), TreeKeyCheck::otherPasscodeText());
        QCOMPARE(namesIn(m_tree + u"/Trips"_s).size(), files);
        // A new session with that passcode writes again.
        openTestSession(otherPasscode);
        QVERIFY(operationsIn(u"Trips"_s).addImageData("third"));
    }
};

int main(int argc, char **argv)
{
    TestHome home;
    QGuiApplication app(argc, argv);
    int status = 0;
    {
        TestTreeKeyCheck entries;
        status |= QTest::qExec(&entries, argc, argv);
    }
    {
        TestTreeKeyCheckInHome inHome;
        status |= QTest::qExec(&inHome, argc, argv);
    }
    return status;
}

#include "TestTreeKeyCheck.moc"

#include "TestHome.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/FileNaming.h"
#include "storage/PasscodeChange.h"
#include "storage/TreeKeyCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const QString OldPasscode = u"old passcode 1"_s;
const QString NewPasscode = u"a new passcode, longer than sixteen"_s;

struct StoredFile
{
    QString path;
    QByteArray plain;
};

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString cloudTree()
{
    return AppPaths::cloudContainer() + u"/Documents"_s;
}

// A file stored in folder under clearName, encrypted with passcode.
StoredFile store(const QString &folder, const QString &clearName, const QByteArray &plain,
                 const QString &passcode)
{
    QDir().mkpath(folder);
    const QString path = folder + u'/' + FileNaming::storedFileName(clearName);
    writeFile(path, *FileEncryptor::encrypt(plain, passcode));
    return {path, plain};
}

// Folders in the on-device tree (and the cloud one when asked) with `small` files of up to 3 KiB
// each, the large ones given, and a PIN entry in every folder when asked; nested adds folders in
// a folder.
QList<StoredFile> buildVault(int small, const QList<qint64> &large, bool cloud, bool pins,
                             const QString &passcode = OldPasscode, bool nested = false)
{
    QStringList folders{AppPaths::documentsDirectory() + u"/Trips"_s,
                        AppPaths::documentsDirectory() + u"/Notes"_s};
    if (nested)
        folders << AppPaths::documentsDirectory() + u"/Trips/Sub"_s
                << AppPaths::documentsDirectory() + u"/Trips/Sub/Deeper"_s;
    if (cloud)
        folders.append(cloudTree() + u"/Shared"_s);
    QList<StoredFile> files;
    for (int i = 0; i < small; ++i)
        files.append(store(folders.at(i % folders.size()), u"file%1.dat"_s.arg(i),
                           randomBytes(QRandomGenerator::global()->bounded(3072), quint32(i)), passcode));
    for (qsizetype i = 0; i < large.size(); ++i)
        files.append(store(folders.at(i % folders.size()), u"large%1.mov"_s.arg(i),
                           randomBytes(large.at(i), 1000 + quint32(i)), passcode));
    if (pins) {
        for (const QString &folder : std::as_const(folders)) {
            const QString path = folder + u'/' + FileNaming::scrambledName(FileNaming::pinFileName());
            writeFile(path, *FileEncryptor::encrypt("4711", passcode));
            files.append({path, "4711"});
        }
    }
    return files;
}

void clearVault()
{
    QDir(AppPaths::documentsDirectory()).removeRecursively();
    QDir(AppPaths::cloudContainer()).removeRecursively();
    QFile::remove(PasscodeChangeJournal::path());
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    KeyChainHelper::shared().saveKey(OldPasscode);
}

std::optional<QByteArray> openWith(const QString &path, const QString &passcode)
{
    return FileEncryptor::decrypt(readFile(path), passcode);
}

// Every file opens with one of the passcodes and holds what was stored.
bool noneLost(const QList<StoredFile> &files, const QStringList &passcodes)
{
    for (const StoredFile &file : files) {
        bool found = false;
        for (const QString &passcode : passcodes)
            found = found || openWith(file.path, passcode) == file.plain;
        if (!found) {
            qWarning() << "lost" << file.path;
            return false;
        }
    }
    return true;
}

// Whether every file opens with the passcode, quietly.
bool allOpenWith(const QList<StoredFile> &files, const QString &passcode)
{
    return std::all_of(files.cbegin(), files.cend(), [&passcode](const StoredFile &file) {
        return openWith(file.path, passcode) == file.plain;
    });
}

// The hidden files in the trees' folders: leftover new forms.
QStringList hiddenFiles()
{
    QStringList found;
    for (const QString &root : {AppPaths::documentsDirectory(), cloudTree()}) {
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            // The root's own hidden files are the key-check entry's (and its partial writes).
            if (it.fileName().startsWith(u'.') && QFileInfo(path).path() != root)
                found.append(path);
        }
    }
    return found;
}

std::unique_ptr<PasscodeChange> resume(const QString &from = OldPasscode, const QString &to = NewPasscode)
{
    QString error;
    std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::open(error);
    if (!journal) {
        qWarning() << error;
        return nullptr;
    }
    return std::make_unique<PasscodeChange>(std::move(*journal), from, to, KeyChainHelper::shared());
}

} // namespace

class TestPasscodeChange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { clearVault(); }

    void completedChange_data()
    {
        QTest::addColumn<int>("small");
        QTest::addColumn<QList<qint64>>("large");
        QTest::addColumn<bool>("cloud");
        QTest::addColumn<bool>("pins");
        QTest::addColumn<bool>("nested");
        QTest::newRow("on-device tree, small files") << 12 << QList<qint64>{} << false << false << false;
        QTest::newRow("both trees and PIN entries") << 20 << QList<qint64>{} << true << true << false;
        QTest::newRow("files over one chunk")
            << 2 << QList<qint64>{1024 * 1024 - 1, 1024 * 1024, 3 * 1024 * 1024 + 7} << true << false
            << false;
        QTest::newRow("empty plain and whole blocks")
            << 0 << QList<qint64>{0, 15, 16, 32} << false << true << false;
        QTest::newRow("folders in folders") << 16 << QList<qint64>{} << true << true << true;
    }
    void completedChange()
    {
        QFETCH(int, small);
        QFETCH(QList<qint64>, large);
        QFETCH(bool, cloud);
        QFETCH(bool, pins);
        QFETCH(bool, nested);
        const QList<StoredFile> files = buildVault(small, large, cloud, pins, OldPasscode, nested);
        KeyChainHelper &keys = KeyChainHelper::shared();
        QString error;
        const std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, keys, error);
        QVERIFY2(change, qPrintable(error));
        QVERIFY(PasscodeChangeJournal::exists());
        QCOMPARE(keys.pendingPasscode(), NewPasscode);
        PasscodeChange::Progress last;
        change->setProgressHandler([&last](const PasscodeChange::Progress &progress) { last = progress; });
        const PasscodeChange::Result result = change->run();
        QVERIFY2(result.outcome == PasscodeChange::Outcome::finished, qPrintable(result.error));
        QVERIFY(result.damaged.isEmpty());
        QCOMPARE(last.filesDone, int(files.size()));
        QCOMPARE(last.filesTotal, int(files.size()));
        QCOMPARE(last.bytesDone, last.bytesTotal);
        for (const StoredFile &file : files) {
            QCOMPARE(openWith(file.path, NewPasscode), file.plain);
            QVERIFY(openWith(file.path, OldPasscode) != file.plain);
        }
        QVERIFY(!PasscodeChangeJournal::exists());
        QCOMPARE(keys.lookUp().passcode, NewPasscode);
        QCOMPARE(keys.pendingPasscode(), std::nullopt);
        QCOMPARE(hiddenFiles(), QStringList());
        // Other machines find the trees written with the new passcode.
        QCOMPARE(TreeKeyCheck::state(AppPaths::documentsDirectory(), NewPasscode),
                 TreeKeyCheck::State::matches);
        if (cloud)
            QCOMPARE(TreeKeyCheck::state(cloudTree(), NewPasscode), TreeKeyCheck::State::matches);
        // The bytes are those of the documented command, PIN entries included.
        for (const StoredFile &file : files) {
            QProcess openssl;
            openssl.start(u"openssl"_s, {u"enc"_s, u"-d"_s, u"-aes-128-cbc"_s, u"-K"_s,
                                         QString::fromLatin1(FileEncryptor::aesKey(NewPasscode).toHex()),
                                         u"-iv"_s, QString(32, u'0'), u"-in"_s, file.path});
            QVERIFY(openssl.waitForFinished());
            QCOMPARE(openssl.exitCode(), 0);
            QCOMPARE(openssl.readAllStandardOutput(), file.plain);
        }
    }

    // Files the old passcode cannot open are left as they are and named, and do not stop the change.
    void damagedFilesAreLeft_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("reported");
        QTest::newRow("cut short") << FileEncryptor::encrypt(randomBytes(100, 7), OldPasscode)->left(100)
                                   << true;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("another passcode") << *FileEncryptor::encrypt("x", u"third passcode"_s) << true;
        QTest::newRow("already the new form") << *FileEncryptor::encrypt("y", NewPasscode) << false;
    }
    void damagedFilesAreLeft()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, reported);
        const QList<StoredFile> files = buildVault(6, {}, false, false);
        const QString odd =
            AppPaths::documentsDirectory() + u"/Trips/"_s + FileNaming::storedFileName(u"odd.txt"_s);
        QVERIFY(writeFile(odd, stored));
        QString error;
        const std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error);
        QVERIFY(change);
        const PasscodeChange::Result result = change->run();
        QCOMPARE(result.outcome, PasscodeChange::Outcome::finished);
        QCOMPARE(result.damaged, reported ? QStringList{u"local/Trips/odd.txt"_s} : QStringList());
        QCOMPARE(readFile(odd), stored);
        QVERIFY(noneLost(files, {NewPasscode}));
    }

    // Links inside a tree are never followed: what they point to stays as it was.
    void linksAreNotFollowed_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("a file link in a folder") << u"Trips/linked"_s;
        QTest::newRow("a folder link in the tree") << u"Elsewhere"_s;
        QTest::newRow("a folder link in a folder") << u"Trips/Elsewhere"_s;
    }
    void linksAreNotFollowed()
    {
        QFETCH(QString, link);
        const QList<StoredFile> files = buildVault(4, {}, false, false);
        QTemporaryDir outside;
        const StoredFile target = store(outside.path(), u"outside.txt"_s, "kept as it is", OldPasscode);
        const QByteArray before = readFile(target.path);
        const QString linkPath = AppPaths::documentsDirectory() + u'/' + link;
        QVERIFY(QFile::link(link.contains(u"Elsewhere"_s) ? outside.path() : target.path, linkPath));
        QString error;
        const std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error);
        QVERIFY(change);
        QCOMPARE(change->run().outcome, PasscodeChange::Outcome::finished);
        QVERIFY(noneLost(files, {NewPasscode}));
        QCOMPARE(readFile(target.path), before);
        QVERIFY(QFileInfo(linkPath).isSymLink());
    }

    // Stopped in the middle, nothing is lost and nothing is left beside the files; the change
    // resumes from its journal and ends with every file in the new form.
    void interruptedThenResumed_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("at");
        QTest::addColumn<PasscodeChange::Outcome>("outcome");
        QTest::newRow("cancel at the start") << u"cancel"_s << 0 << PasscodeChange::Outcome::cancelled;
        QTest::newRow("cancel half-way") << u"cancel"_s << 9 << PasscodeChange::Outcome::cancelled;
        QTest::newRow("lock half-way") << u"lock"_s << 9 << PasscodeChange::Outcome::locked;
        QTest::newRow("lock in a large file") << u"lock"_s << 20 << PasscodeChange::Outcome::locked;
        QTest::newRow("disk full in a small file") << u"full"_s << 5 << PasscodeChange::Outcome::noSpace;
        QTest::newRow("disk full in a large file") << u"full"_s << 20 << PasscodeChange::Outcome::noSpace;
        QTest::newRow("quota full") << u"quota"_s << 12 << PasscodeChange::Outcome::noSpace;
    }
    void interruptedThenResumed()
    {
        QFETCH(QString, how);
        QFETCH(int, at);
        QFETCH(PasscodeChange::Outcome, outcome);
        const QList<StoredFile> files = buildVault(20, {3 * 1024 * 1024, 2 * 1024 * 1024}, true, true);
        QString error;
        std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error);
        QVERIFY(change);
        const VaultSessionPtr session = VaultSession::open(OldPasscode);
        change->setSession(session);
        PasscodeChange *running = change.get();
        int reports = 0;
        change->setProgressHandler([&](const PasscodeChange::Progress &progress) {
            if (progress.filesDone < at || ++reports < 2)
                return;
            if (how == u"cancel"_s)
                running->cancel();
            else if (how == u"lock"_s)
                session->end();
        });
        int chunks = 0;
        if (how == u"full"_s || how == u"quota"_s) {
            const int code = how == u"full"_s ? ENOSPC : EDQUOT;
            change->setWriteFault([&chunks, at, code](qint64) { return ++chunks > at ? code : 0; });
        }
        const PasscodeChange::Result stopped = change->run();
        QCOMPARE(stopped.outcome, outcome);
        QVERIFY(!stopped.error.isEmpty());
        if (outcome == PasscodeChange::Outcome::noSpace)
            QVERIFY2(stopped.error.contains(u"not enough space"_s), qPrintable(stopped.error));
        change.reset();
        QVERIFY(PasscodeChangeJournal::exists());
        QCOMPARE(KeyChainHelper::shared().lookUp().passcode, OldPasscode);
        QVERIFY(noneLost(files, {OldPasscode, NewPasscode}));
        QCOMPARE(hiddenFiles(), QStringList());
        // Some files are still in the old form: the stop came before the end.
        int stillOld = 0;
        for (const StoredFile &file : files)
            stillOld += openWith(file.path, OldPasscode) == file.plain ? 1 : 0;
        QVERIFY(stillOld > 0);

        change = resume();
        QVERIFY(change);
        QCOMPARE(change->run().outcome, PasscodeChange::Outcome::finished);
        QVERIFY(noneLost(files, {NewPasscode}));
        QVERIFY(!PasscodeChangeJournal::exists());
        QCOMPARE(KeyChainHelper::shared().lookUp().passcode, NewPasscode);
        QCOMPARE(hiddenFiles(), QStringList());
    }

    // A file that arrives during the change (another machine, still on the old passcode) ends in
    // the new form too.
    void fileAddedDuringTheChange()
    {
        QList<StoredFile> files = buildVault(10, {}, true, false);
        QString error;
        const std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error);
        QVERIFY(change);
        bool added = false;
        change->setProgressHandler([&](const PasscodeChange::Progress &progress) {
            if (progress.filesDone == 5 && !added) {
                added = true;
                files.append(
                    store(cloudTree() + u"/Shared"_s, u"late.jpg"_s, randomBytes(5000, 99), OldPasscode));
            }
        });
        QCOMPARE(change->run().outcome, PasscodeChange::Outcome::finished);
        QVERIFY(added);
        QVERIFY(noneLost(files, {NewPasscode}));
    }

    // The trees' key checks switch once every file is done, and a tree whose key check opens with
    // the new passcode already (another machine changed it) is not touched at all.
    void keyChecks_data()
    {
        QTest::addColumn<bool>("cloudChanged");
        QTest::addColumn<bool>("writerFails");
        QTest::newRow("neither tree changed before") << false << false;
        QTest::newRow("cloud tree changed elsewhere") << true << false;
        QTest::newRow("key check cannot be written") << false << true;
    }
    void keyChecks()
    {
        QFETCH(bool, cloudChanged);
        QFETCH(bool, writerFails);
        const QList<StoredFile> local = buildVault(8, {}, false, true);
        const QString shared = cloudTree() + u"/Shared"_s;
        QList<StoredFile> cloud;
        for (int i = 0; i < 8; ++i)
            cloud.append(store(shared, u"c%1.txt"_s.arg(i), randomBytes(40 + i, quint32(500 + i)),
                               cloudChanged ? NewPasscode : OldPasscode));
        QHash<QString, QByteArray> before;
        for (const StoredFile &file : std::as_const(cloud))
            before.insert(file.path, readFile(file.path));
        QString error;
        std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error);
        QVERIFY(change);
        QStringList written;
        change->setKeyCheckReader([&](const QString &root, const QString &passcode) {
            return cloudChanged && root == cloudTree() && passcode == NewPasscode;
        });
        change->setKeyCheckWriter([&](const QString &root, const QString &passcode) {
            if (passcode != NewPasscode || !noneLost(local, {NewPasscode}))
                return false; // written before the files were done
            written.append(root);
            return !writerFails;
        });
        const PasscodeChange::Result result = change->run();
        QVERIFY(noneLost(local + cloud, {NewPasscode}));
        if (cloudChanged) {
            for (const StoredFile &file : std::as_const(cloud))
                QCOMPARE(readFile(file.path), before.value(file.path));
        }
        if (writerFails) {
            QCOMPARE(result.outcome, PasscodeChange::Outcome::failed);
            QVERIFY(PasscodeChangeJournal::exists());
            QCOMPARE(KeyChainHelper::shared().lookUp().passcode, OldPasscode);
            // Resumed, the files are not gone through again and the key checks are written.
            change.reset();
            const std::unique_ptr<PasscodeChange> resumed = resume();
            QVERIFY(resumed);
            int reencrypted = 0;
            resumed->setWriteFault([&reencrypted](qint64) {
                ++reencrypted;
                return 0;
            });
            resumed->setKeyCheckWriter([&](const QString &root, const QString &) {
                written.append(root);
                return true;
            });
            QCOMPARE(resumed->run().outcome, PasscodeChange::Outcome::finished);
            QCOMPARE(reencrypted, 0);
            QCOMPARE(written, QStringList({AppPaths::documentsDirectory(), AppPaths::documentsDirectory(),
                                           cloudTree()}));
        } else {
            QCOMPARE(result.outcome, PasscodeChange::Outcome::finished);
            QCOMPARE(written, QStringList({AppPaths::documentsDirectory(), cloudTree()}));
        }
        QCOMPARE(KeyChainHelper::shared().lookUp().passcode, NewPasscode);
    }

    // Another machine changed the shared tree already: its files are left as they are, this
    // machine's own are changed.
    void cloudTreeChangedElsewhere()
    {
        const QList<StoredFile> local = buildVault(6, {}, false, true);
        const QList<StoredFile> cloud = buildVault(0, {}, true, true, NewPasscode);
        QList<StoredFile> shared;
        for (int i = 0; i < 40; ++i)
            shared.append(store(cloudTree() + u"/Shared"_s, u"s%1.txt"_s.arg(i),
                                randomBytes(20 + i, quint32(900 + i)), NewPasscode));
        QCOMPARE(TreeKeyCheck::write(cloudTree(), NewPasscode), QString());
        QHash<QString, QByteArray> before;
        for (const StoredFile &file : shared + cloud)
            before.insert(file.path, readFile(file.path));
        QString error;
        const std::unique_ptr<PasscodeChange> change =
            PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error);
        QVERIFY(change);
        QCOMPARE(change->run().outcome, PasscodeChange::Outcome::finished);
        for (const StoredFile &file : shared + cloud)
            QCOMPARE(readFile(file.path), before.value(file.path));
        QVERIFY(noneLost(shared + local, {NewPasscode}));
    }

    // Resuming needs the new passcode: a typed one is checked against the journal.
    void journalVerifiesTheNewPasscode_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("verified");
        QTest::newRow("the new passcode") << NewPasscode << true;
        QTest::newRow("the old passcode") << OldPasscode << false;
        QTest::newRow("cut to sixteen") << NewPasscode.left(16) << true; // the key is the first 16 bytes
        QTest::newRow("one letter off") << QString(NewPasscode).replace(0, 1, u'A') << false;
    }
    void journalVerifiesTheNewPasscode()
    {
        QFETCH(QString, typed);
        QFETCH(bool, verified);
        QString error;
        QVERIFY(PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error));
        std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::open(error);
        QVERIFY2(journal, qPrintable(error));
        QCOMPARE(journal->verifies(typed), verified);
        QVERIFY(!readFile(PasscodeChangeJournal::path()).contains(NewPasscode.toUtf8()));
        QCOMPARE(QFile::permissions(PasscodeChangeJournal::path()),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                     QFileDevice::WriteUser);
    }

    // A record cut short by a crash is dropped; a second change cannot start over an unfinished one,
    // nor can a second process work on the same one.
    void journalIntegrity()
    {
        QString error;
        QVERIFY(PasscodeChange::start(OldPasscode, NewPasscode, KeyChainHelper::shared(), error));
        {
            std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::open(error);
            QVERIFY(journal);
            QVERIFY(journal->record({{"local/Trips/abc", {32, QByteArray(32, 'x')}}}));
            QString second;
            QVERIFY(!PasscodeChangeJournal::open(second));
            QVERIFY(!second.isEmpty());
        }
        QFile file(PasscodeChangeJournal::path());
        QVERIFY(file.open(QIODevice::Append));
        file.write("file bG9jYWwvVHJpcHMvZGVm 48 eHh4");
        file.close();
        std::optional<PasscodeChangeJournal> reopened = PasscodeChangeJournal::open(error);
        QVERIFY2(reopened, qPrintable(error));
        QCOMPARE(reopened->recordedFiles(), 1);
        QCOMPARE(reopened->fingerprint("local/Trips/abc")->size, 32);
        QVERIFY(!reopened->fingerprint("local/Trips/def"));
        QVERIFY(!readFile(PasscodeChangeJournal::path()).endsWith("eHh4"));
        reopened.reset();
        QVERIFY(!PasscodeChange::start(OldPasscode, u"third passcode"_s, KeyChainHelper::shared(), error));
        QVERIFY(error.contains(u"unfinished"_s));
    }

    // A helper process changing the passcode is killed at random moments, over and over, back and
    // forth between two passcodes; after every kill each file opens with one of them, and when the
    // last run ends every file is in the last passcode, byte for byte.
    void killedAtRandomMoments_data()
    {
        QTest::addColumn<bool>("unnamedFiles");
        QTest::newRow("new forms without a name until complete") << true;
        QTest::newRow("new forms in hidden siblings") << false;
    }
    void killedAtRandomMoments()
    {
        QFETCH(bool, unnamedFiles);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!unnamedFiles)
            environment.insert(u"LUMISERA_NO_UNNAMED_FILES"_s, u"1"_s);
        const QList<StoredFile> files =
            buildVault(30, {1024 * 1024, 2 * 1024 * 1024 + 5, 4 * 1024 * 1024}, true, true);
        QString from = OldPasscode;
        QString to = NewPasscode;
        // How long a whole change takes here, so that the kills fall anywhere in one.
        QElapsedTimer whole;
        whole.start();
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(LUMISERA_PASSCODE_CHANGE_HELPER), {from, to});
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        const int span = std::max(2, int(whole.elapsed()));
        std::swap(from, to);
        QRandomGenerator random(20261207);
        int killed = 0;
        for (int round = 0; round < 40; ++round) {
            QProcess helper;
            helper.setProcessEnvironment(environment);
            helper.start(QStringLiteral(LUMISERA_PASSCODE_CHANGE_HELPER), {from, to});
            QVERIFY(helper.waitForStarted());
            if (!helper.waitForFinished(int(random.bounded(1, span)))) {
                helper.kill();
                QVERIFY(helper.waitForFinished());
                ++killed;
            } else {
                QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
                QCOMPARE(helper.exitCode(), 0);
                QVERIFY(!PasscodeChangeJournal::exists());
            }
            QVERIFY2(noneLost(files, {from, to}), qPrintable(u"round %1"_s.arg(round)));
            // Finished, also when the kill came after the record went: the next change goes back.
            // (Killed before its record was made, it changed nothing.)
            if (!PasscodeChangeJournal::exists() && allOpenWith(files, to))
                std::swap(from, to);
            else
                QVERIFY(PasscodeChangeJournal::exists() || allOpenWith(files, from));
        }
        QVERIFY2(killed >= 10, qPrintable(u"only %1 kills in a change of %2 ms"_s.arg(killed).arg(span)));
        QProcess helper;
        helper.setProcessEnvironment(environment);
        helper.start(QStringLiteral(LUMISERA_PASSCODE_CHANGE_HELPER), {from, to});
        QVERIFY(helper.waitForFinished(60000));
        QCOMPARE(helper.exitCode(), 0);
        QVERIFY(noneLost(files, {to}));
        QCOMPARE(hiddenFiles(), QStringList());
        QVERIFY(!PasscodeChangeJournal::exists());
    }
};

LUMISERA_TEST_MAIN(TestPasscodeChange)
#include "TestPasscodeChange.moc"

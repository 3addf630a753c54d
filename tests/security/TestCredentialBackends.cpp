#include "FileCredentialBackend.h"
#include "InMemoryCredentialBackend.h"
#include "LogCapture.h"
#include "SystemCredentialBackend.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Account = QStringLiteral("account");
constexpr int NoKeyringAnswered = 7; // QtKeychain's OtherError without a Secret Service

QFile::Permissions otherBits(const QString &path)
{
    return QFile::permissions(path) & 0x0777;
}
} // namespace

class TestCredentialBackends : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileReplacesAndRemoves();
    void fileKeepsOtherAccounts();
    void fileRefusesWhatIsNotPrivate_data();
    void fileRefusesWhatIsNotPrivate();
    void damagedFileIsReplacedOnWrite();
    void noKeyringMeansFile_data();
    void noKeyringMeansFile();
    void keyringReadsOlderFileCopyAndSupersedesIt();
    void refusingKeyringIsNoReasonForFile();

private:
    QTemporaryDir m_dir;
};

void TestCredentialBackends::fileReplacesAndRemoves()
{
    const QString path = m_dir.filePath(QStringLiteral("new/folder/credentials"));
    FileCredentialBackend backend(path);
    QCOMPARE(backend.read(Account).status, CredentialResult::Status::notFound);
    QVERIFY(backend.write(Account, "first").succeeded());
    QCOMPARE(otherBits(path), QFile::ReadUser | QFile::WriteUser);
    QVERIFY(backend.write(Account, "second").succeeded());
    QCOMPARE(backend.read(Account).secret, QByteArray("second"));
    QCOMPARE(QDir(m_dir.filePath(QStringLiteral("new/folder"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("credentials")}); // no temporary file left behind
    QVERIFY(backend.remove(Account).succeeded());
    QVERIFY(!QFile::exists(path));
    QVERIFY(backend.remove(Account).succeeded());
}

void TestCredentialBackends::fileKeepsOtherAccounts()
{
    FileCredentialBackend backend(m_dir.filePath(QStringLiteral("shared")));
    QVERIFY(backend.write(Account, QByteArray("\x00\xff binary", 9)).succeeded());
    QVERIFY(backend.write(QStringLiteral("other"), "kept").succeeded());
    QCOMPARE(backend.read(Account).secret, QByteArray("\x00\xff binary", 9));
    QVERIFY(backend.remove(Account).succeeded());
    QCOMPARE(backend.read(QStringLiteral("other")).secret, QByteArray("kept"));
}

void TestCredentialBackends::fileRefusesWhatIsNotPrivate_data()
{
    QTest::addColumn<bool>("symlink");
    QTest::addColumn<bool>("readable");
    QTest::newRow("world-readable file is made private") << false << true;
    QTest::newRow("symbolic link is refused") << true << false;
}

void TestCredentialBackends::fileRefusesWhatIsNotPrivate()
{
    QFETCH(bool, symlink);
    QFETCH(bool, readable);
    const QString real = m_dir.filePath(QStringLiteral("real"));
    const QString path = m_dir.filePath(symlink ? QStringLiteral("link") : QStringLiteral("real"));
    QVERIFY(FileCredentialBackend(real).write(Account, "secret").succeeded());
    QVERIFY(QFile::setPermissions(real, QFile::permissions(real) | QFile::ReadOther | QFile::ReadGroup));
    if (symlink)
        QVERIFY(QFile::link(real, path));
    const CredentialResult result = FileCredentialBackend(path).read(Account);
    QCOMPARE(result.succeeded(), readable);
    if (readable)
        QCOMPARE(otherBits(real), QFile::ReadUser | QFile::WriteUser);
}

void TestCredentialBackends::damagedFileIsReplacedOnWrite()
{
    const QString path = m_dir.filePath(QStringLiteral("damaged"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();
    FileCredentialBackend backend(path);
    const CredentialResult damaged = backend.read(Account);
    QCOMPARE(damaged.status, CredentialResult::Status::failed);
    QCOMPARE(damaged.message, QStringLiteral("The credentials file is damaged"));
    QVERIFY(backend.write(Account, "fresh").succeeded());
    QCOMPARE(backend.read(Account).secret, QByteArray("fresh"));
}

void TestCredentialBackends::noKeyringMeansFile_data()
{
    QTest::addColumn<bool>("writesOnly");
    QTest::newRow("nothing answers") << false;
    // A Secret Service started on demand without a collection: reads find nothing, writes fail.
    QTest::newRow("reads answer, writes fail") << true;
}

void TestCredentialBackends::noKeyringMeansFile()
{
    QFETCH(bool, writesOnly);
    const QString path = m_dir.filePath(QStringLiteral("fallback"));
    QFile::remove(path);
    auto keyring = std::make_unique<InMemoryCredentialBackend>();
    keyring->setFailing(true, NoKeyringAnswered, writesOnly);
    LogCapture capture;
    SystemCredentialBackend backend(std::move(keyring), std::make_unique<FileCredentialBackend>(path), path);
    QVERIFY(backend.write(Account, "secret").succeeded());
    QCOMPARE(backend.read(Account).secret, QByteArray("secret"));
    QVERIFY(!backend.usesKeyring(Account));
    QCOMPARE(FileCredentialBackend(path).read(Account).secret, QByteArray("secret"));
    QCOMPARE(capture.lines().filter(QStringLiteral("No desktop keyring answered")).size(), 1);
    QVERIFY(capture.contains(path));
}

void TestCredentialBackends::keyringReadsOlderFileCopyAndSupersedesIt()
{
    const QString path = m_dir.filePath(QStringLiteral("older"));
    QVERIFY(FileCredentialBackend(path).write(Account, "from the file").succeeded());
    auto keyring = std::make_unique<InMemoryCredentialBackend>();
    InMemoryCredentialBackend *keyringView = keyring.get();
    SystemCredentialBackend backend(std::move(keyring), std::make_unique<FileCredentialBackend>(path), path);
    QCOMPARE(backend.read(Account).secret, QByteArray("from the file"));
    QVERIFY(backend.write(Account, "in the keyring").succeeded());
    QCOMPARE(keyringView->read(Account).secret, QByteArray("in the keyring"));
    QVERIFY(!QFile::exists(path));
    QVERIFY(backend.remove(Account).succeeded());
    QCOMPARE(backend.read(Account).status, CredentialResult::Status::notFound);
}

void TestCredentialBackends::refusingKeyringIsNoReasonForFile()
{
    const QString path = m_dir.filePath(QStringLiteral("untouched"));
    auto keyring = std::make_unique<InMemoryCredentialBackend>();
    keyring->setFailing(true, 4); // AccessDenied: a keyring is there and said no
    SystemCredentialBackend backend(std::move(keyring), std::make_unique<FileCredentialBackend>(path), path);
    QVERIFY(!backend.write(Account, "secret").succeeded());
    QVERIFY(backend.usesKeyring(Account));
    QVERIFY(!QFile::exists(path));
}

LUMISERA_TEST_MAIN(TestCredentialBackends)

#include "TestCredentialBackends.moc"

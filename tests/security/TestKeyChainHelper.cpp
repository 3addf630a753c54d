#include "FileCredentialBackend.h"
#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "SystemCredentialBackend.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Account = KeyChainHelper::account;
constexpr int NoKeyringAnswered = 7; // QtKeychain's OtherError without a Secret Service
} // namespace

class TestKeyChainHelper : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void saveReplacesAndLoadNeverCaches();
    void failedSaveKeepsPreviousPasscode();
    void deleteKey_data();
    void deleteKey();
    void firstLaunchCheck_data();
    void firstLaunchCheck();
    void fileBackendIsPrivateAndAtomic();
    void noKeyringMeansFile_data();
    void noKeyringMeansFile();
    void keyringSupersedesOlderFileCopy();

private:
    KeyChainHelper &helper() { return KeyChainHelper::shared(); }
    InMemoryCredentialBackend *m_backend = nullptr;
    QTemporaryDir m_dir;
};

void TestKeyChainHelper::init()
{
    auto backend = std::make_unique<InMemoryCredentialBackend>();
    m_backend = backend.get();
    helper().setBackend(std::move(backend));
    helper().setLoadedKey(std::nullopt);
}

void TestKeyChainHelper::saveReplacesAndLoadNeverCaches()
{
    const QString longPasscode = QStringLiteral("a passcode well over sixteen bytes: ünïcödé");
    LogCapture capture;
    QVERIFY(helper().saveKey(QStringLiteral("first passcode")));
    helper().setLoadedKey(QStringLiteral("first passcode"));
    QSignalSpy changed(&helper(), &KeyChainHelper::loadedKeyChanged);
    QVERIFY(helper().saveKey(longPasscode));
    QCOMPARE(changed.count(), 1);            // the stale cached passcode is dropped
    QCOMPARE(helper().load(), longPasscode); // stored whole, not cut to a key
    QCOMPARE(helper().loadedKey(), std::nullopt);
    helper().setLoadedKey(QStringLiteral("cached"));
    QCOMPARE(helper().load(), QStringLiteral("cached"));
    QVERIFY(capture.contains(QStringLiteral("User saved successfully in the keychain")));
    QVERIFY(!capture.contains(QStringLiteral("first passcode")) && !capture.contains(longPasscode));
}

void TestKeyChainHelper::failedSaveKeepsPreviousPasscode()
{
    QVERIFY(helper().saveKey(QStringLiteral("old passcode")));
    m_backend->setFailing(true);
    LogCapture capture;
    QVERIFY(!helper().saveKey(QStringLiteral("new passcode")));
    QVERIFY(!helper().saveKey(QString(QChar(0xd800)))); // a lone surrogate has no UTF-8 form
    QVERIFY(
        capture.contains(QStringLiteral("KeyChainHelper:saveKey(password:) Error saving to keychain -1")));
    QVERIFY(capture.contains(
        QStringLiteral("KeyChainHelper:saveKey(password:) Error converting password to data")));
    m_backend->setFailing(false);
    QCOMPARE(helper().load(), QStringLiteral("old passcode"));
}

void TestKeyChainHelper::deleteKey_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("cached");
    QTest::addColumn<bool>("failing");
    QTest::newRow("nothing stored") << false << false << false;
    QTest::newRow("stored, locked") << true << false << false;
    QTest::newRow("stored, unlocked") << true << true << false;
    QTest::newRow("store fails") << true << true << true;
}

void TestKeyChainHelper::deleteKey()
{
    QFETCH(bool, stored);
    QFETCH(bool, cached);
    QFETCH(bool, failing);
    if (stored)
        QVERIFY(helper().saveKey(QStringLiteral("secret")));
    if (cached)
        helper().setLoadedKey(QStringLiteral("secret"));
    m_backend->setFailing(failing);
    LogCapture capture;
    QCOMPARE(helper().deleteKey(), !failing);
    QCOMPARE(helper().isUnlocked(), failing);
    m_backend->setFailing(false);
    helper().setLoadedKey(std::nullopt);
    QCOMPARE(helper().load().has_value(), failing);
    QCOMPARE(capture.lines().size(), stored ? 1 : 0);
    if (stored)
        QVERIFY(capture.contains(
            failing ? QStringLiteral("KeyChainHelper:deleteKey() The credential store is unavailable")
                    : QStringLiteral("Successfully removed from keychain.")));
}

void TestKeyChainHelper::firstLaunchCheck_data()
{
    QTest::addColumn<bool>("installedBefore");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("fresh install, item of an earlier one") << false << true << false;
    QTest::newRow("installed, passcode set") << true << true << true;
    QTest::newRow("installed, no passcode") << true << false << false;
}

void TestKeyChainHelper::firstLaunchCheck()
{
    QFETCH(bool, installedBefore);
    QFETCH(bool, stored);
    QFETCH(bool, expected);
    const QDateTime installed =
        installedBefore ? QDateTime::currentDateTimeUtc().addDays(-3) : UserDefaults::distantPast();
    UserDefaults::setDate(UserDefaults::Key::installed, installed);
    if (stored)
        QVERIFY(helper().saveKey(QStringLiteral("from before")));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    QCOMPARE(helper().isPasscodeSet(), expected);
    QCOMPARE(helper().isPasscodeSet(), expected);
    const QDateTime stamp = UserDefaults::date(UserDefaults::Key::installed);
    if (installedBefore)
        QCOMPARE(stamp.toSecsSinceEpoch(), installed.toSecsSinceEpoch());
    else
        QVERIFY(stamp >= before);
    QCOMPARE(helper().load().has_value(), expected); // an earlier installation's item is gone
}

void TestKeyChainHelper::fileBackendIsPrivateAndAtomic()
{
    const QString folder = m_dir.filePath(QStringLiteral("new/folder"));
    const QString path = folder + QStringLiteral("/credentials");
    FileCredentialBackend backend(path);
    QCOMPARE(backend.read(Account).status, CredentialResult::Status::notFound);
    QVERIFY(backend.write(Account, "first").succeeded());
    QVERIFY(backend.write(Account, "second").succeeded());
    QCOMPARE(backend.read(Account).secret, QByteArray("second"));
    QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("credentials")});
    QVERIFY(QFile::link(path, m_dir.filePath(QStringLiteral("link"))));
    QCOMPARE(FileCredentialBackend(m_dir.filePath(QStringLiteral("link"))).read(Account).status,
             CredentialResult::Status::failed);
    QVERIFY(backend.remove(Account).succeeded());
    QVERIFY(!QFile::exists(path));
}

void TestKeyChainHelper::noKeyringMeansFile_data()
{
    QTest::addColumn<bool>("writesOnly");
    QTest::newRow("nothing answers") << false;
    // A Secret Service started on demand without a collection: reads find nothing, writes fail.
    QTest::newRow("reads answer, writes fail") << true;
}

void TestKeyChainHelper::noKeyringMeansFile()
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
}

void TestKeyChainHelper::keyringSupersedesOlderFileCopy()
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
}

LUMISERA_TEST_MAIN(TestKeyChainHelper)

#include "TestKeyChainHelper.moc"

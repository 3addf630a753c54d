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
const auto helper = []() -> KeyChainHelper & { return KeyChainHelper::shared(); };
} // namespace

class TestKeyChainHelper : public QObject
{
    Q_OBJECT
    InMemoryCredentialBackend *m_backend = nullptr;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        helper().setBackend(std::unique_ptr<CredentialBackend>(m_backend = new InMemoryCredentialBackend));
        helper().setLoadedKey(std::nullopt);
    }

    void saveAndDeleteKey()
    {
        const QString longPasscode = QStringLiteral("a passcode well over sixteen bytes: ünïcödé");
        LogCapture capture;
        QVERIFY(helper().saveKey("first passcode"));
        helper().setLoadedKey("first passcode");
        QSignalSpy changed(&helper(), &KeyChainHelper::loadedKeyChanged);
        QVERIFY(helper().saveKey(longPasscode));
        QCOMPARE(changed.count(), 1); // the stale cached passcode is dropped
        QCOMPARE(helper().loadedKey(), std::nullopt);
        QCOMPARE(helper().load(), longPasscode);            // stored whole, not cut to a key
        QVERIFY(!helper().saveKey(QString(QChar(0xd800)))); // a lone surrogate has no UTF-8 form
        // A failing store answers false and keeps what it holds.
        helper().setLoadedKey(longPasscode);
        m_backend->setFailing(true);
        QVERIFY(!helper().deleteKey());
        QVERIFY(helper().isUnlocked());
        QVERIFY(!helper().saveKey("new passcode"));
        m_backend->setFailing(false);
        helper().setLoadedKey(std::nullopt);
        QCOMPARE(helper().load(), longPasscode);
        // Deleting locks, and succeeds again when nothing is stored any more.
        helper().setLoadedKey(longPasscode);
        QVERIFY(helper().deleteKey());
        QVERIFY(!helper().isUnlocked());
        QCOMPARE(helper().load(), std::nullopt);
        QVERIFY(helper().deleteKey());
        QVERIFY(!capture.contains("first passcode") && !capture.contains(longPasscode));
    }

    void firstLaunchCheck_data()
    {
        QTest::addColumn<bool>("installedBefore");
        QTest::addColumn<bool>("stored");
        QTest::newRow("fresh install, item of an earlier one") << false << true;
        QTest::newRow("installed, passcode set") << true << true;
        QTest::newRow("installed, no passcode") << true << false;
    }

    void firstLaunchCheck()
    {
        QFETCH(bool, installedBefore);
        QFETCH(bool, stored);
        const QDateTime installed =
            installedBefore ? QDateTime::currentDateTimeUtc().addDays(-3) : UserDefaults::distantPast();
        UserDefaults::setDate(UserDefaults::Key::installed, installed);
        QVERIFY(!stored || helper().saveKey("from before"));
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        QCOMPARE(helper().isPasscodeSet(), installedBefore && stored);
        const QDateTime stamp = UserDefaults::date(UserDefaults::Key::installed);
        QVERIFY(installedBefore ? stamp.toSecsSinceEpoch() == installed.toSecsSinceEpoch() : stamp >= before);
        QCOMPARE(helper().load().has_value(), installedBefore && stored); // an earlier install's item is gone
    }

    void credentialStores_data()
    {
        QTest::addColumn<bool>("keyringWorks");
        QTest::addColumn<bool>("writesOnly");
        QTest::newRow("nothing answers") << false << false;
        // A Secret Service started on demand without a collection: reads find nothing, writes fail.
        QTest::newRow("reads answer, writes fail") << false << true;
        QTest::newRow("keyring supersedes the older file copy") << true << false;
    }

    void credentialStores()
    {
        QFETCH(bool, keyringWorks);
        QFETCH(bool, writesOnly);
        const QString folder = m_dir.filePath(QTest::currentDataTag()) + "/new";
        const QString path = folder + "/credentials";
        QCOMPARE(FileCredentialBackend(path).read(Account).status, CredentialResult::Status::notFound);
        QVERIFY(FileCredentialBackend(path).write(Account, "older").succeeded());
        auto keyring = std::make_unique<InMemoryCredentialBackend>();
        keyring->setFailing(!keyringWorks, NoKeyringAnswered, writesOnly);
        SystemCredentialBackend backend(std::move(keyring), std::make_unique<FileCredentialBackend>(path),
                                        path);
        QCOMPARE(backend.read(Account).secret, QByteArray("older"));
        QVERIFY(backend.write(Account, "secret").succeeded());
        QCOMPARE(backend.read(Account).secret, QByteArray("secret"));
        QCOMPARE(backend.usesKeyring(Account), keyringWorks);
        QCOMPARE(FileCredentialBackend(path).read(Account).secret, keyringWorks ? "" : "secret");
        if (!keyringWorks) { // the file was replaced whole, is private, and is not read through a link
            QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"credentials"});
            QVERIFY(QFile::link(path, folder + "/link"));
            QCOMPARE(FileCredentialBackend(folder + "/link").read(Account).status,
                     CredentialResult::Status::failed);
        }
        QVERIFY(backend.remove(Account).succeeded());
        QVERIFY(!QFile::exists(path));
    }
};

LUMISERA_TEST_MAIN(TestKeyChainHelper)

#include "TestKeyChainHelper.moc"

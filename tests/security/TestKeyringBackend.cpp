// The desktop keyring for real, under a service name of its own so the user's passcode is never touched.
#include "LogCapture.h"
#include "TestHome.h"
#include "security/FileCredentialBackend.h"
#include "security/KeychainCredentialBackend.h"
#include "security/PasscodeStore.h"
#include "security/QtKeychainService.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <future>

namespace {
const QString Account = QStringLiteral("com_morvenda_dailyVeln");

// Without a keyring the cases are skipped, unless LUMISERA_REQUIRE_SECRET_SERVICE=1 requires one.
#define SKIP_OR_FAIL_WITHOUT_KEYRING(result)                                                                 \
    if (KeychainCredentialBackend::meansNoKeyring(result)) {                                                 \
        QVERIFY2(qEnvironmentVariableIntValue("LUMISERA_REQUIRE_SECRET_SERVICE") != 1,                       \
                 qPrintable("No Secret Service answered: " + (result).message));                             \
        QSKIP("No desktop keyring answers here");                                                            \
    }

std::unique_ptr<KeychainCredentialBackend> testKeyring()
{
    return std::make_unique<KeychainCredentialBackend>(
        std::make_shared<QtKeychainService>("Lumisera test " +
                                            QUuid::createUuid().toString(QUuid::WithoutBraces)),
        std::chrono::seconds(20));
}
} // namespace

class TestKeyringBackend : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secretServiceRoundTrip();
    void fallsBackToPrivateFile();
};

void TestKeyringBackend::secretServiceRoundTrip()
{
    const auto keyring = testKeyring();
    const CredentialResult probe = keyring->read(Account);
    SKIP_OR_FAIL_WITHOUT_KEYRING(probe);
    QCOMPARE(probe.status, CredentialResult::Status::notFound);
    const CredentialResult first = keyring->write(Account, "first");
    SKIP_OR_FAIL_WITHOUT_KEYRING(first);
    QVERIFY2(first.succeeded(), qPrintable(first.message));
    QCOMPARE(keyring->read(Account).secret, QByteArray("first"));
    QVERIFY(keyring->write(Account, "second").succeeded());
    // A thread without an event loop of its own blocks while the keyring thread works.
    QCOMPARE(std::async(std::launch::async, [&] { return keyring->read(Account); }).get().secret, "second");
    QVERIFY(keyring->remove(Account).succeeded());
    QCOMPARE(keyring->read(Account).status, CredentialResult::Status::notFound);
    QVERIFY(keyring->remove(Account).succeeded());
}

void TestKeyringBackend::fallsBackToPrivateFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Morvenda/Lumisera/credentials");
    LogCapture capture;
    PasscodeStore backend(testKeyring(), std::make_unique<FileCredentialBackend>(path), path,
                          [] { return VaultPresence{}; });
    const bool written = backend.write(Account, "passcode").succeeded();
    if (PasscodeStore::recorded() == PasscodeStore::Location::keyring) {
        QVERIFY(!written || backend.remove(Account).succeeded());
        QSKIP("A desktop keyring answers here; the fallback runs without a session bus");
    }
    QVERIFY(written);
    QCOMPARE(PasscodeStore::recorded(), PasscodeStore::Location::file);
    QCOMPARE(backend.read(Account).secret, QByteArray("passcode"));
    QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
    QCOMPARE(capture.lines().filter("No desktop keyring answered").size(), 1);
    QVERIFY(!capture.contains("passcode\""));
}

LUMISERA_TEST_MAIN(TestKeyringBackend)

#include "TestKeyringBackend.moc"

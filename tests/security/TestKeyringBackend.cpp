// Exercises the desktop keyring for real, under an item name of its own so that it never
// touches the user's passcode. With LUMISERA_REQUIRE_SECRET_SERVICE=1 (scripts/test.sh runs it
// on a private session bus with gnome-keyring) a missing Secret Service is a failure; elsewhere
// the keyring cases are skipped.
#include "FileCredentialBackend.h"
#include "KeychainCredentialBackend.h"
#include "LogCapture.h"
#include "SystemCredentialBackend.h"
#include "TestHome.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUuid>

namespace {
const QString Account = QStringLiteral("com_morvenda_dailyVeln");

// Without a keyring service the cases are skipped, unless the run requires one.
#define SKIP_OR_FAIL_WITHOUT_KEYRING(result)                                                                 \
    do {                                                                                                     \
        if (KeychainCredentialBackend::meansNoKeyring(result)) {                                             \
            if (qEnvironmentVariableIntValue("LUMISERA_REQUIRE_SECRET_SERVICE") == 1)                        \
                QFAIL(qPrintable(QStringLiteral("No Secret Service answered: ") + (result).message));        \
            QSKIP("No desktop keyring answers here");                                                        \
        }                                                                                                    \
    } while (false)

QString uniqueService()
{
    return QStringLiteral("Lumisera test ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
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
    KeychainCredentialBackend keyring(uniqueService(), std::chrono::seconds(20));
    const CredentialResult probe = keyring.read(Account);
    SKIP_OR_FAIL_WITHOUT_KEYRING(probe);
    QCOMPARE(probe.status, CredentialResult::Status::notFound);

    // A Secret Service started on demand without a collection reads, but cannot write.
    const CredentialResult first = keyring.write(Account, "first");
    SKIP_OR_FAIL_WITHOUT_KEYRING(first);
    QVERIFY2(first.succeeded(), qPrintable(first.message));
    QCOMPARE(keyring.read(Account).secret, QByteArray("first"));
    QVERIFY(keyring.write(Account, "second").succeeded());

    // A pool thread has no event loop of its own: it blocks while the keyring thread works.
    CredentialResult fromWorker;
    std::unique_ptr<QThread> worker(QThread::create([&] { fromWorker = keyring.read(Account); }));
    worker->start();
    QVERIFY(worker->wait(30000));
    QCOMPARE(fromWorker.secret, QByteArray("second"));

    QVERIFY(keyring.remove(Account).succeeded());
    QCOMPARE(keyring.read(Account).status, CredentialResult::Status::notFound);
    QVERIFY(keyring.remove(Account).succeeded());
}

void TestKeyringBackend::fallsBackToPrivateFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Morvenda/Lumisera/credentials"));
    LogCapture capture;
    SystemCredentialBackend backend(
        std::make_unique<KeychainCredentialBackend>(uniqueService(), std::chrono::seconds(20)),
        std::make_unique<FileCredentialBackend>(path), path);
    const bool written = backend.write(Account, "passcode").succeeded();
    if (backend.usesKeyring(Account)) {
        if (written)
            QVERIFY(backend.remove(Account).succeeded());
        QSKIP("A desktop keyring answers here; the fallback runs without a session bus");
    }
    QVERIFY(written);
    QCOMPARE(backend.read(Account).secret, QByteArray("passcode"));
    QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
    QCOMPARE(capture.lines().filter(QStringLiteral("No desktop keyring answered")).size(), 1);
    QVERIFY(!capture.contains(QStringLiteral("passcode\"")));
}

LUMISERA_TEST_MAIN(TestKeyringBackend)

#include "TestKeyringBackend.moc"

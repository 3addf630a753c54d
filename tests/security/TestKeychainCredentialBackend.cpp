// The waits for the desktop keyring, against a fake that answers at once, late, never, or not at all.
#include "EventLoopMarkers.h"
#include "FakeKeyring.h"
#include "LogCapture.h"
#include "TestHome.h"
#include "security/KeychainCredentialBackend.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QThread>
#include <qt6keychain/keychain.h>

#include <future>

using namespace std::chrono_literals;
using Operation = KeyringService::Operation;

namespace {
const QString Account = QStringLiteral("com_morvenda_dailyVeln");
constexpr auto Deadline = 300ms;
constexpr int Never = -1;

FakeKeyring::Delay delay(int milliseconds)
{
    return milliseconds == Never ? FakeKeyring::Delay()
                                 : FakeKeyring::Delay(std::chrono::milliseconds(milliseconds));
}

CredentialResult perform(KeychainCredentialBackend &backend, Operation operation)
{
    return operation == Operation::read    ? backend.read(Account)
           : operation == Operation::write ? backend.write(Account, "new")
                                           : backend.remove(Account);
}
} // namespace

class TestKeychainCredentialBackend : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyWaitEnds_data()
    {
        QTest::addColumn<bool>("onWorker");
        QTest::addColumn<bool>("noBackend");
        QTest::addColumn<int>("answerAfter");
        QTest::addColumn<int>("expectedCode"); // 0: the stored item comes back
        for (const bool onWorker : {false, true}) {
            const char *thread = onWorker ? "worker" : "main thread";
            QTest::addRow("no backend, %s", thread)
                << onWorker << true << 0 << int(QKeychain::NoBackendAvailable);
            QTest::addRow("never answers, %s", thread)
                << onWorker << false << Never << KeychainCredentialBackend::NoAnswer;
            QTest::addRow("answers late, %s", thread)
                << onWorker << false << 900 << KeychainCredentialBackend::NoAnswer;
            QTest::addRow("answers in time, %s", thread) << onWorker << false << 50 << 0;
        }
    }

    void everyWaitEnds()
    {
        QFETCH(bool, onWorker);
        QFETCH(bool, noBackend);
        QFETCH(int, answerAfter);
        QFETCH(int, expectedCode);
        auto keyring = std::make_shared<FakeKeyring>();
        keyring->put(Account, "held");
        keyring->setNoBackend(noBackend);
        keyring->setDelays(delay(answerAfter), delay(answerAfter));
        KeychainCredentialBackend backend(keyring, Deadline);

        QElapsedTimer clock;
        clock.start();
        const CredentialResult result =
            onWorker ? std::async(std::launch::async, [&] { return backend.read(Account); }).get()
                     : backend.read(Account);
        const qint64 elapsed = clock.elapsed();

        QVERIFY2(elapsed <= Deadline.count() + 1000, qPrintable(QString::number(elapsed)));
        if (expectedCode == 0) {
            QCOMPARE(result.secret, QByteArray("held"));
            return;
        }
        QCOMPARE(result.status, CredentialResult::Status::failed); // never "not found" while an item is held
        QCOMPARE(result.code, expectedCode);
        QVERIFY(elapsed >= (expectedCode == KeychainCredentialBackend::NoAnswer ? Deadline.count() - 5 : 0));
        QCOMPARE(KeychainCredentialBackend::meansNoKeyring(result), noBackend);
        QVERIFY2(result.message.startsWith(noBackend ? "the desktop keyring is not reachable: "
                                                     : "the desktop keyring did not answer within 0.3 s"),
                 qPrintable(result.message));
    }

    void lateChangesStoreNothing_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QByteArray>("before"); // empty: no item
        QTest::addColumn<int>("readAfter");
        QTest::addColumn<int>("changeAfter");
        QTest::addColumn<bool>("undone"); // the change landed and was put back; else it never started
        QTest::newRow("write lands late") << int(Operation::write) << QByteArray("old") << 0 << 700 << true;
        QTest::newRow("write over nothing lands late")
            << int(Operation::write) << QByteArray() << 0 << 700 << true;
        QTest::newRow("delete lands late") << int(Operation::remove) << QByteArray("old") << 0 << 700 << true;
        QTest::newRow("write behind a late read")
            << int(Operation::write) << QByteArray("old") << 700 << 0 << false;
    }

    void lateChangesStoreNothing()
    {
        QFETCH(int, operation);
        QFETCH(QByteArray, before);
        QFETCH(int, readAfter);
        QFETCH(int, changeAfter);
        QFETCH(bool, undone);
        auto keyring = std::make_shared<FakeKeyring>();
        if (!before.isEmpty())
            keyring->put(Account, before);
        keyring->setDelays(delay(readAfter), delay(changeAfter));
        KeychainCredentialBackend backend(keyring, Deadline);
        LogCapture capture;

        const CredentialResult result = perform(backend, Operation(operation));
        QCOMPARE(result.code, KeychainCredentialBackend::NoAnswer);
        if (undone)
            QTRY_VERIFY_WITH_TIMEOUT(
                capture.contains("A keyring change that came after its deadline was undone"), 3000);
        // Every late job has answered and been dealt with, the undoing ones included.
        for (int round = 0; round < 2; ++round) {
            QVERIFY(QTest::qWaitFor([&keyring] { return keyring->pendingAnswers() == 0; }, 5000));
            QVERIFY(postedEventsRan());
        }
        QCOMPARE(keyring->item(Account).value_or(QByteArray()), before);
        QCOMPARE(capture.contains("undone"), undone);
    }
};

LUMISERA_TEST_MAIN(TestKeychainCredentialBackend)

#include "TestKeychainCredentialBackend.moc"

// The one way work on the storage pool comes back to the main thread: to a receiver still there,
// with a failure path that busy flags rely on, and never for a session that has ended.
#include "TestHome.h"
#include "security/VaultSession.h"
#include "storage/StoragePool.h"

#include <QGuiApplication>
#include <QSemaphore>
#include <QTest>

#include <memory>
#include <stdexcept>

class TestStoragePool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void continuation_data()
    {
        QTest::addColumn<QString>("meanwhile"); // what happens while the work runs
        QTest::addColumn<bool>("throws");
        QTest::addColumn<QString>("expected"); // "done", "failed" or "nothing"
        QTest::newRow("answered") << QString() << false << "done";
        QTest::newRow("work threw") << QString() << true << "failed";
        QTest::newRow("receiver gone") << "receiver gone" << false << "nothing";
        QTest::newRow("receiver gone, work threw") << "receiver gone" << true << "nothing";
        QTest::newRow("session ended") << "session ended" << false << "failed";
    }
    void continuation()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, throws);
        QFETCH(QString, expected);
        auto receiver = std::make_unique<QObject>();
        const VaultSessionPtr session = VaultSession::open(QStringLiteral("passcode1"));
        auto gate = std::make_shared<QSemaphore>();
        QString outcome = QStringLiteral("nothing");
        StoragePool::runInSession(
            session, receiver.get(),
            [gate, throws] {
                gate->acquire();
                if (throws)
                    throw std::runtime_error("the work failed");
                return 42;
            },
            [&outcome](int answer) {
                outcome = answer == 42 ? QStringLiteral("done") : QStringLiteral("wrong");
            },
            [&outcome] { outcome = QStringLiteral("failed"); });
        if (meanwhile == QStringLiteral("receiver gone"))
            receiver.reset();
        else if (meanwhile == QStringLiteral("session ended"))
            session->end();
        gate->release();
        QVERIFY(StoragePool::shared()->waitForDone(10000));
        QCoreApplication::processEvents();
        QCOMPARE(outcome, expected);
    }
};

LUMISERA_TEST_MAIN(TestStoragePool)

#include "TestStoragePool.moc"

// The one way work on the storage pool comes back to the main thread: to a receiver still there,
// with a failure path that busy flags rely on, and never for a session that has ended.
#include "TestHome.h"
#include "security/VaultSession.h"
#include "storage/StoragePool.h"

#include <QGuiApplication>
#include <QMutex>
#include <QScopeGuard>
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

    // Work a screen waits for runs in the order it was asked for, also when the first task found
    // the thread idle (Qt queues that one at priority 0), and prefetching waits for it.
    void orderOfWork_data()
    {
        QTest::addColumn<QList<int>>("priorities");
        QTest::addColumn<QString>("expected");
        const int screen = StoragePool::userInitiated;
        QTest::newRow("screen work") << QList<int>{screen, screen, screen, screen} << "0123";
        QTest::newRow("prefetching after it") << QList<int>{screen, StoragePool::utility, screen} << "021";
    }
    void orderOfWork()
    {
        QFETCH(QList<int>, priorities);
        QFETCH(QString, expected);
        QThreadPool *pool = StoragePool::shared();
        const int threads = pool->maxThreadCount();
        pool->setMaxThreadCount(1);
        const auto restore = qScopeGuard([pool, threads] { pool->setMaxThreadCount(threads); });
        // Whether the idle thread wakes before the next task is asked for is up to the scheduler:
        // rounds enough that it does not, in some.
        for (int round = 0; round < 50; ++round) {
            // The one thread waits for work, as it does between two screens.
            StoragePool::run([] {}).waitForFinished();
            QMutex mutex;
            QString order;
            // The first task holds the thread until all are asked for, so that it never waits
            // idle again in between.
            QSemaphore asked;
            for (int i = 0; i < priorities.size(); ++i)
                StoragePool::run(
                    [&mutex, &order, &asked, i] {
                        if (i == 0)
                            asked.acquire();
                        const QMutexLocker locker(&mutex);
                        order += QString::number(i);
                    },
                    priorities.at(i));
            asked.release();
            QVERIFY(pool->waitForDone(10000));
            QCOMPARE(order, expected);
        }
    }
};

LUMISERA_TEST_MAIN(TestStoragePool)

#include "TestStoragePool.moc"

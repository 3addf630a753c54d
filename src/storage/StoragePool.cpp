#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

namespace {
QThreadPool *makePool()
{
    auto *pool = new QThreadPool;
    pool->setObjectName(QStringLiteral("StoragePool"));
    pool->setMaxThreadCount(qMax(2, QThread::idealThreadCount()));
    // Runs first in the application object's destructor, while image plugins still load.
    qAddPostRoutine([] {
        QThreadPool *shared = StoragePool::shared();
        shared->clear();
        shared->waitForDone();
    });
    return pool;
}
} // namespace

QThreadPool *StoragePool::shared()
{
    static QThreadPool *const pool = makePool();
    return pool;
}

#include "KeyringThread.h"

#include <QCoreApplication>
#include <QMutex>
#include <QThread>

namespace {

QMutex mutex;
QThread *thread = nullptr;
QObject *threadContext = nullptr;
bool stopped = false;

void stop()
{
    const QMutexLocker locker(&mutex);
    stopped = true;
    if (!thread)
        return;
    QMetaObject::invokeMethod(
        threadContext, [context = threadContext] { delete context; }, Qt::BlockingQueuedConnection);
    thread->quit();
    thread->wait();
    delete thread;
    thread = nullptr;
    threadContext = nullptr;
}

} // namespace

QObject *KeyringThread::context()
{
    const QMutexLocker locker(&mutex);
    if (!thread && !stopped) {
        thread = new QThread;
        thread->setObjectName(QStringLiteral("Keyring"));
        threadContext = new QObject;
        threadContext->moveToThread(thread);
        thread->start();
        qAddPostRoutine(&stop);
    }
    return threadContext;
}

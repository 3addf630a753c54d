#include "security/KeyringThread.h"

#include <QCoreApplication>
#include <QMutex>
#include <QThread>

#include <atomic>

namespace {

QMutex mutex;
QThread *thread = nullptr;
QObject *threadContext = nullptr;
bool stopped = false;
std::atomic<bool> closing = false;

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

bool KeyringThread::isClosing()
{
    return closing.load();
}

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
        if (QCoreApplication *application = QCoreApplication::instance())
            QObject::connect(application, &QCoreApplication::aboutToQuit, [] { closing = true; });
    }
    return threadContext;
}

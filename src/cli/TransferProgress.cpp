#include "cli/TransferProgress.h"

#include <QFile>
#include <QFuture>
#include <QThread>
#include <QtConcurrent>

#include <cstdio>
#include <unistd.h>

qint64 TransferProgress::bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = io.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

bool TransferProgress::run(const QString &label, qint64 inputBytes, const std::function<bool()> &work)
{
    const qint64 start = bytesReadSoFar();
    if (!isatty(STDERR_FILENO) || inputBytes < minimumBytes || start < 0)
        return work();
    QFuture<bool> future = QtConcurrent::run(work);
    const QByteArray name = label.toLocal8Bit();
    while (!future.isFinished()) {
        const qint64 done = qBound<qint64>(0, bytesReadSoFar() - start, inputBytes);
        std::fprintf(stderr, "\r%s: %3d%% of %lld MiB", name.constData(), int(done * 100 / inputBytes),
                     static_cast<long long>(inputBytes >> 20));
        std::fflush(stderr);
        QThread::msleep(200);
    }
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    return future.result();
}

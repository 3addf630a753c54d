#include "BenchProcess.h"

#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QLoggingCategory>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>

namespace BenchProcess {

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void processFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool processUntil(const std::function<bool()> &done, int timeoutMs, int stepMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        processFor(stepMs);
    return done();
}

VaultSessionPtr unlockVault(const QString &passcode)
{
    QLoggingCategory::setFilterRules(QStringLiteral("com.morvenda.Journey*=false"));
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    if (!KeyChainHelper::shared().saveKey(passcode))
        return nullptr;
    return KeyChainHelper::shared().unlock(passcode, KeyChainHelper::shared().lockGeneration());
}

QByteArray picture(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 160, 230));
    gradient.setColorAt(1, QColor::fromHsv(seed * 91 % 360, 200, 90));
    painter.fillRect(image.rect(), gradient);
    // Noise, so that the JPEG is as hard to decode as a photo.
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < width * height / 400; ++i)
        painter.fillRect(random.bounded(width), random.bounded(height), 3, 3,
                         QColor::fromRgb(random.generate()));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

} // namespace BenchProcess

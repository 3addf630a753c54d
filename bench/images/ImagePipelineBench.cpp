// image-bench generate DIR COUNT   writes COUNT encrypted 12-megapixel JPEG pictures (and the plain
//                                  ones for the first twenty) into DIR
// image-bench speed DIR COUNT      thumbnails of the first COUNT pictures through the pipeline, one
//                                  thread, cold caches, against QImageReader decoding the plain files
//                                  in full
// image-bench memory DIR COUNT     thumbnails of COUNT pictures on the storage pool, as a folder
//                                  grid asks for them; prints the peak resident memory
// image-bench tiles DIR COUNT      280-pixel grid tiles of the first COUNT pictures, one thread, cold
//                                  caches, against the 2800-pixel thumbnails; bytes per cached tile
// image-bench queue DIR COUNT      tiles of COUNT pictures through TileThumbnailQueue, as a grid asks
#include "security/FileEncryptor.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DecodedImageCache.h"
#include "storage/ImageDecoder.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/StoragePool.h"
#include "storage/TileThumbnailQueue.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFutureSynchronizer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>
#include <sys/resource.h>

namespace {
const QString Passcode = QStringLiteral("benchmark passcode");

const VaultSession &session()
{
    static const VaultSessionPtr open = VaultSession::open(Passcode);
    return *open;
}
constexpr int PlainCount = 20;

QString encryptedPath(const QString &dir, int i)
{
    return dir + QStringLiteral("/picture-%1.bin").arg(i, 3, 10, QLatin1Char('0'));
}
QString plainPath(const QString &dir, int i)
{
    return dir + QStringLiteral("/picture-%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
}

// A 4000 × 3000 picture with smooth shapes and grain, so that it compresses like a photo.
QByteArray photoLikeJpeg(int seed)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24));
            line[x] = qRgb((x / 16 + seed * 40 + grain) & 0xff, (y / 12 + grain) & 0xff,
                           ((x + y) / 24 + grain) & 0xff);
        }
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return buffer.data();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int generate(const QString &dir, int count)
{
    QDir().mkpath(dir);
    for (int i = 0; i < count; ++i) {
        // Twenty different pictures; the others repeat them under their own names (and cache keys).
        const QByteArray plain = photoLikeJpeg(i % PlainCount);
        const std::optional<QByteArray> encrypted = FileEncryptor::encrypt(plain, Passcode);
        if (!encrypted || !writeFile(encryptedPath(dir, i), *encrypted) ||
            (i < PlainCount && !writeFile(plainPath(dir, i), plain)))
            return 1;
    }
    return 0;
}

// Alternates the two per picture, so that a busy machine slows both alike.
int speed(const QString &dir, int count)
{
    double alone = 0, pipeline = 0;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        QImageReader reader(plainPath(dir, i % PlainCount));
        reader.setAutoTransform(true);
        if (reader.read().isNull())
            return 1;
        alone += timer.nsecsElapsed() / 1e9;

        timer.start();
        if (ImageFromDecodedData::image(QUrl::fromLocalFile(encryptedPath(dir, i)), session(), true, false)
                .image.isNull())
            return 1;
        pipeline += timer.nsecsElapsed() / 1e9;
    }
    std::printf("%d thumbnails of 12-megapixel JPEG pictures: pipeline %.3f s, QImageReader alone %.3f s, "
                "ratio %.2f\n",
                count, pipeline, alone, pipeline / alone);
    return 0;
}

// Alternates the two per picture, as speed() does.
int tiles(const QString &dir, int count)
{
    constexpr int Edge = 2 * TileThumbnailQueue::defaultTileEdge;
    double tile = 0, thumbnail = 0, decrypt = 0, scaledDecode = 0;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        const QUrl url = QUrl::fromLocalFile(encryptedPath(dir, i));
        // What the tile's time goes to: reading and decrypting, then the scaled decoding alone.
        timer.start();
        QFile file(encryptedPath(dir, i));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const std::optional<QByteArray> plain = FileEncryptor::decrypt(file.readAll(), Passcode);
        if (!plain)
            return 1;
        decrypt += timer.nsecsElapsed() / 1e9;
        timer.start();
        if (ImageDecoder::decodeShrunk(*plain, Edge).isNull())
            return 1;
        scaledDecode += timer.nsecsElapsed() / 1e9;

        timer.start();
        if (ImageFromDecodedData::tile(url, session(), Edge, false).image.isNull())
            return 1;
        tile += timer.nsecsElapsed() / 1e9;

        timer.start();
        if (ImageFromDecodedData::image(url, session(), true, false).image.isNull())
            return 1;
        thumbnail += timer.nsecsElapsed() / 1e9;
    }
    const DecodedImageCache &tileCache = DecodedImageCache::tiles();
    const DecodedImageCache &thumbnailCache = DecodedImageCache::thumbnails();
    std::printf("%d pictures of 12 megapixels: tile %.1f ms, thumbnail %.1f ms per picture (ratio %.2f); "
                "%.0f KiB per cached tile, %.0f KiB per thumbnail; %lld tiles fit the %.0f MiB tile cache\n"
                "  of a tile: read and decrypt %.1f ms, scaled decoding %.1f ms\n",
                count, 1000 * tile / count, 1000 * thumbnail / count, thumbnail / tile,
                tileCache.totalCost() / 1024.0 / tileCache.count(),
                thumbnailCache.totalCost() / 1024.0 / thumbnailCache.count(),
                tileCache.totalCostLimit() / (tileCache.totalCost() / tileCache.count()),
                tileCache.totalCostLimit() / 1048576.0, 1000 * decrypt / count, 1000 * scaledDecode / count);
    return 0;
}

int queue(const QString &dir, int count)
{
    TileThumbnailQueue queue;
    int answered = 0, failed = 0;
    QObject::connect(&queue, &TileThumbnailQueue::tileReady, [&] { ++answered; });
    QObject::connect(&queue, &TileThumbnailQueue::tileFailed, [&] {
        ++answered;
        ++failed;
    });
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        queue.request(QUrl::fromLocalFile(encryptedPath(dir, i)));
    while (answered < count)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = timer.nsecsElapsed() / 1e9;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%d tiles through the queue, %d at a time: %.2f s, %.1f ms per tile; peak resident memory "
                "%.0f MiB; tile cache %.1f MiB\n",
                count, queue.maxRunning(), seconds, 1000 * seconds / count, usage.ru_maxrss / 1024.0,
                DecodedImageCache::tiles().totalCost() / 1048576.0);
    return failed == 0 ? 0 : 1;
}

int memory(const QString &dir, int count)
{
    QElapsedTimer timer;
    timer.start();
    QFutureSynchronizer<bool> all;
    for (int i = 0; i < count; ++i)
        all.addFuture(
            QtConcurrent::run(StoragePool::shared(), [url = QUrl::fromLocalFile(encryptedPath(dir, i))] {
                return !ImageFromDecodedData::image(url, session(), true, false).image.isNull();
            }));
    all.waitForFinished();
    for (const QFuture<bool> &future : all.futures())
        if (!future.result())
            return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const DecodedImageCache &cache = DecodedImageCache::thumbnails();
    std::printf(
        "%d thumbnails on %d threads in %.1f s: peak resident memory %.0f MiB (thumbnail cache %.0f of "
        "%.0f MiB, %d pictures)\n",
        count, StoragePool::shared()->maxThreadCount(), timer.nsecsElapsed() / 1e9, usage.ru_maxrss / 1024.0,
        cache.totalCost() / 1048576.0, cache.totalCostLimit() / 1048576.0, cache.count());
    return usage.ru_maxrss < 1024 * 1024 ? 0 : 2;
}
} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: image-bench generate|speed|memory|tiles|queue DIR COUNT\n");
        return 2;
    }
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    KeyChainHelper::shared().saveKey(Passcode);
    const QString &mode = args.at(1);
    const QString &dir = args.at(2);
    const int count = args.at(3).toInt();
    if (mode == QLatin1String("generate"))
        return generate(dir, count);
    if (mode == QLatin1String("speed"))
        return speed(dir, count);
    if (mode == QLatin1String("memory"))
        return memory(dir, count);
    if (mode == QLatin1String("tiles"))
        return tiles(dir, count);
    if (mode == QLatin1String("queue"))
        return queue(dir, count);
    return 2;
}

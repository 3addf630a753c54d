#include "DecodedImageCache.h"
#include "FileEncryptor.h"
#include "ImageFromDecodedData.h"
#include "ImageViewModel.h"
#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "StoragePool.h"
#include "TestHome.h"

#include <QBuffer>
#include <QFutureSynchronizer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <libheif/heif.h>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
// x265 3.5 keeps a block per x265_encoder_open() (libheif closes the encoder); only the test encodes.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libx265.so\n";
}
#endif

namespace {
const QString Passcode = QStringLiteral("correct horse");

// Red in the first half along the long edge, blue in the second: shows which way a picture turned.
QImage twoColourPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const bool wide = size.width() >= size.height();
    for (int y = 0; y < (wide ? size.height() : size.height() / 2); ++y)
        for (int x = 0; x < (wide ? size.width() / 2 : size.width()); ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// A JPEG whose Exif APP1 segment, right after SOI, holds Orientation (0x0112) = 6: turn 90° clockwise.
QByteArray jpegTurnedClockwise(QSize size)
{
    const QByteArray exif = QByteArray::fromHex("ffe10022"                 // APP1, length 34
                                                "457869660000"             // "Exif\0\0"
                                                "4d4d002a00000008"         // big-endian TIFF, IFD at 8
                                                "0001"                     // one entry
                                                "011200030000000100060000" // Orientation, SHORT, 6
                                                "00000000");               // no next IFD
    return encoded(twoColourPicture(size), "jpeg").insert(2, exif);
}

template <typename T, auto release>
using Heif = std::unique_ptr<T, decltype([](T *object) { release(object); })>;

QByteArray heic(QSize size, heif_orientation orientation)
{
    const QImage rgb = twoColourPicture(size).convertToFormat(QImage::Format_RGB888);
    const Heif<heif_context, heif_context_free> context(heif_context_alloc());
    heif_encoder *encoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &encoder).code)
        return {};
    const Heif<heif_encoder, heif_encoder_release> encoderOwner(encoder);
    heif_image *image = nullptr;
    heif_image_create(size.width(), size.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    const Heif<heif_image, heif_image_release> imageOwner(image);
    heif_image_add_plane(image, heif_channel_interleaved, size.width(), size.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < size.height(); ++y)
        memcpy(plane + y * stride, rgb.constScanLine(y), size_t(size.width()) * 3);
    const Heif<heif_encoding_options, heif_encoding_options_free> options(heif_encoding_options_alloc());
    options->image_orientation = orientation;
    QByteArray bytes;
    heif_writer writer{1, [](heif_context *, const void *data, size_t length, void *out) {
                           static_cast<QByteArray *>(out)->append(static_cast<const char *>(data),
                                                                  qsizetype(length));
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    if (heif_context_encode_image(context.get(), image, encoder, options.get(), nullptr).code ||
        heif_context_write(context.get(), &writer, &bytes).code)
        return {};
    return bytes;
}

bool turnedRedFirst(const QImage &image)
{
    const int w = image.width(), h = image.height();
    const QRgb first = w >= h ? image.pixel(w / 4, h / 2) : image.pixel(w / 2, h / 4);
    const QRgb second = w >= h ? image.pixel(3 * w / 4, h / 2) : image.pixel(w / 2, 3 * h / 4);
    return qRed(first) > 150 && qBlue(first) < 100 && qBlue(second) > 150 && qRed(second) < 100;
}
} // namespace

class TestImagePipeline : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { heif_deinit(); }
    void init();
    void cacheIsBoundedByBytes();
    void picture_data();
    void picture();
    void failures_data();
    void failures();
    void modelLoadsWarmsAndLogs();
    void releaseCancelsSilently();

private:
    QUrl store(const QString &name, const QByteArray &plain, const QString &passcode = Passcode);
    QUrl url(const QString &name) const { return QUrl::fromLocalFile(m_dir.filePath(name)); }

    QTemporaryDir m_dir;
};

void TestImagePipeline::initTestCase()
{
    heif_init(nullptr); // the test's encoder; the decoder holds its own reference
    QVERIFY(m_dir.isValid());
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
    QFile(m_dir.filePath(QStringLiteral("empty"))).open(QIODevice::WriteOnly);
    store(QStringLiteral("text"), "not a picture at all");
    store(QStringLiteral("foreign"), encoded(twoColourPicture({10, 10}), "png"), QStringLiteral("another"));
    store(QStringLiteral("picture"), encoded(twoColourPicture({40, 20}), "png"));
}

void TestImagePipeline::init()
{
    StoragePool::shared()->waitForDone();
    DecodedImageCache::thumbnails().removeAllObjects();
    DecodedImageCache::fullSize().removeAllObjects();
}

QUrl TestImagePipeline::store(const QString &name, const QByteArray &plain, const QString &passcode)
{
    const std::optional<QByteArray> encrypted = FileEncryptor::encrypt(plain, passcode);
    QFile file(m_dir.filePath(name));
    if (!encrypted || !file.open(QIODevice::WriteOnly) || file.write(*encrypted) != encrypted->size())
        qFatal("cannot store the test picture");
    return QUrl::fromLocalFile(file.fileName());
}

void TestImagePipeline::cacheIsBoundedByBytes()
{
    const QImage picture(100, 100, QImage::Format_RGB32); // 40000 bytes
    DecodedImageCache cache(QStringLiteral("Test"), 3 * picture.sizeInBytes());
    for (const char *key : {"a", "b", "c"})
        QVERIFY(cache.setObject(QString::fromLatin1(key), picture));
    QVERIFY(cache.isFull());
    QVERIFY(cache.object(QStringLiteral("a"))); // a is now the most recently used
    QVERIFY(cache.setObject(QStringLiteral("d"), picture));
    QVERIFY(!cache.contains(QStringLiteral("b")));
    QVERIFY(cache.contains(QStringLiteral("a")) && cache.contains(QStringLiteral("c")));
    QCOMPARE(cache.totalCost(), 3 * picture.sizeInBytes());

    QVERIFY(cache.setObject(QStringLiteral("c"), picture.scaled(50, 50))); // replaced, not added
    QCOMPARE(cache.totalCost(), 2 * picture.sizeInBytes() + picture.sizeInBytes() / 4);
    QVERIFY(!cache.isFull());
    QVERIFY(!cache.setObject(QStringLiteral("huge"), QImage(200, 200, QImage::Format_RGB32)));
    QCOMPARE(cache.count(), 3);
}

void TestImagePipeline::picture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("thumbnail");
    QTest::addColumn<QSize>("fullSize");
    const QImage wide = twoColourPicture({1000, 500});
    QTest::newRow("jpeg wide") << encoded(wide, "jpeg") << QSize(2800, 1400) << QSize(1000, 500);
    QTest::newRow("jpeg tall") << encoded(twoColourPicture({3000, 6000}), "jpeg") << QSize(1400, 2800)
                               << QSize(3000, 6000);
    QTest::newRow("jpeg exif rotated")
        << jpegTurnedClockwise({1000, 500}) << QSize(1400, 2800) << QSize(500, 1000);
    QTest::newRow("png") << encoded(wide, "png") << QSize(2800, 1400) << QSize(1000, 500);
    // Qt writes no GIF: 4 × 2 pixels, red then blue, LZW by hand.
    QTest::newRow("gif") << QByteArray::fromHex(
                                "47494638396104000200810000ff00000000ff0000000000002c000000000400"
                                "02000002050498106052003b")
                         << QSize(2800, 1400) << QSize(4, 2);
    QTest::newRow("tiff") << encoded(twoColourPicture({500, 1000}), "tiff") << QSize(1400, 2800)
                          << QSize(500, 1000);
    QTest::newRow("heic") << heic({64, 32}, heif_orientation_normal) << QSize(2800, 1400) << QSize(64, 32);
    QTest::newRow("heic rotated") << heic({64, 32}, heif_orientation_rotate_90_cw) << QSize(1400, 2800)
                                  << QSize(32, 64);
}

void TestImagePipeline::picture()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, thumbnail);
    QFETCH(QSize, fullSize);
    if (bytes.isEmpty() && QByteArray(QTest::currentDataTag()).startsWith("heic"))
        QSKIP("libheif has no HEVC encoder here, so no HEIC test picture can be made");
    QVERIFY(!bytes.isEmpty());
    const QUrl file = store(QStringLiteral("decoded"), bytes);
    const QString key = ImageFromDecodedData::cacheKey(file);

    const ImageResult small = ImageFromDecodedData::image(file, true, false);
    QCOMPARE(small.image.size(), thumbnail);
    QVERIFY(turnedRedFirst(small.image));
    QVERIFY(DecodedImageCache::thumbnails().contains(key));
    QVERIFY(!DecodedImageCache::fullSize().contains(key));

    const ImageResult large = ImageFromDecodedData::image(file, false, false);
    QCOMPARE(large.image.size(), fullSize);
    QVERIFY(turnedRedFirst(large.image));
    QVERIFY(DecodedImageCache::fullSize().contains(key));
}

void TestImagePipeline::failures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("missing file") << "missing" << false << false << ImageError::fileErrorDomain << "";
    QTest::newRow("empty file") << "empty" << false << false << ImageError::fileIsEmptyDomain << "";
    QTest::newRow("not a picture") << "text" << false << false << ImageError::uiImageFailedDomain << "";
    QTest::newRow("other passcode") << "foreign" << false << false << ""
                                    << "x.circle";
    QTest::newRow("locked vault") << "picture" << true << false << ""
                                  << "x.circle";
    QTest::newRow("cancelled") << "picture" << false << true << ImageError::cancellationDomain << "";
}

void TestImagePipeline::failures()
{
    QFETCH(QString, name);
    QFETCH(bool, locked);
    QFETCH(bool, cancelled);
    QFETCH(QString, domain);
    QFETCH(QString, symbol);
    const std::atomic_bool cancel(cancelled);
    if (locked)
        QVERIFY(KeyChainHelper::shared().deleteKey());
    LogCapture log;

    for (const bool thumbnail : {true, false}) {
        const ImageResult result = ImageFromDecodedData::image(url(name), thumbnail, false, &cancel);
        QCOMPARE(result.error ? result.error->domain : QString(), domain);
        QCOMPARE(result.systemSymbol, symbol);
        QVERIFY(result.image.isNull());
    }
    const QString key = ImageFromDecodedData::cacheKey(url(name));
    QVERIFY(!DecodedImageCache::thumbnails().contains(key) && !DecodedImageCache::fullSize().contains(key));
    QCOMPARE(log.contains(QStringLiteral("ImageFromDecodedData:image(withURL:useThumbnail:cacheOnly:) "
                                         "Could not decrypt image")),
             !symbol.isEmpty());
    // Nothing was cached, so the picture shows once the vault opens again.
    QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
    if (name == QLatin1String("picture"))
        QCOMPARE(ImageFromDecodedData::image(url(name), true, false).image.size(), QSize(2800, 1400));
}

void TestImagePipeline::modelLoadsWarmsAndLogs()
{
    const QUrl file = store(QStringLiteral("model"), encoded(twoColourPicture({1000, 500}), "jpeg"));
    ImageViewModel model(file, true, true);
    QVERIFY(!model.hasImage());
    QSignalSpy changed(&model, &ImageViewModel::imageChanged);
    model.load();
    QVERIFY(model.isLoading());
    QTRY_VERIFY(!model.isLoading());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.image().size(), QSize(2800, 1400));
    QTRY_VERIFY(DecodedImageCache::fullSize().contains(ImageFromDecodedData::cacheKey(file)));
    const ImageViewModel second(file, true, true); // shown from the cache, without a task
    QCOMPARE(second.image().size(), QSize(2800, 1400));
    QVERIFY(!second.isLoading());
    // A full cache is not churned by warm-ups (the pages of these pictures are never touched).
    for (int i = 0; i < 4; ++i)
        DecodedImageCache::fullSize().setObject(QString::number(i),
                                                QImage(8192, 8192, QImage::Format_Grayscale8));
    const ImageViewModel third(url(QStringLiteral("picture")), true, true);
    StoragePool::shared()->waitForDone();
    QVERIFY(!DecodedImageCache::fullSize().contains(ImageFromDecodedData::cacheKey(third.url())));

    LogCapture log;
    ImageViewModel empty(url(QStringLiteral("empty")), false, true);
    ImageViewModel foreign(url(QStringLiteral("foreign")), false, true);
    empty.load();
    foreign.load();
    QTRY_VERIFY(!empty.isLoading() && !foreign.isLoading());
    QVERIFY(!empty.hasImage());
    QVERIFY(log.contains(QStringLiteral(
        "Logging:errorMsg(_:) Caught error The operation couldn’t be completed. (File is empty error 0.)")));
    QCOMPARE(foreign.systemSymbol(), QStringLiteral("x.circle"));
}

void TestImagePipeline::releaseCancelsSilently()
{
    ImageViewModel model(url(QStringLiteral("picture")), true, true);
    LogCapture log;
    // Hold every pool thread so that the load still waits when the view goes away.
    QThreadPool *pool = StoragePool::shared();
    QSemaphore started, gate;
    QFutureSynchronizer<void> blockers;
    for (int i = 0; i < pool->maxThreadCount(); ++i)
        blockers.addFuture(QtConcurrent::run(pool, [&] {
            started.release();
            gate.acquire();
        }));
    QVERIFY(started.tryAcquire(pool->maxThreadCount(), 10000));
    model.load();
    model.release();
    QVERIFY(!model.isLoading());
    gate.release(pool->maxThreadCount());
    pool->waitForDone();
    QCoreApplication::processEvents();
    QVERIFY(!DecodedImageCache::thumbnails().contains(ImageFromDecodedData::cacheKey(model.url())));
    QVERIFY(!model.hasImage());
    QVERIFY(log.errors().isEmpty());

    model.load();
    QTRY_VERIFY(!model.image().isNull());
}

LUMISERA_TEST_MAIN(TestImagePipeline)
#include "TestImagePipeline.moc"

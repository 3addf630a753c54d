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

bool isRed(QRgb c)
{
    return qRed(c) > 150 && qBlue(c) < 100;
}
bool isBlue(QRgb c)
{
    return qBlue(c) > 150 && qRed(c) < 100;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// Qt reads GIF but cannot write it: a GIF of two colours whose LZW codes stay 8 bits wide,
// because a clear code comes before the table grows (one byte per pixel, no compression).
QByteArray gif(const QImage &image)
{
    auto le16 = [](int v) { return QByteArray(1, char(v & 0xff)) + char(v >> 8); };
    QByteArray bytes = "GIF89a" + le16(image.width()) + le16(image.height()) + QByteArray("\xf6\x00\x00", 3);
    QByteArray palette(128 * 3, '\0');
    palette[0] = char(255); // 0: red, 1: blue
    palette[5] = char(255);
    bytes +=
        palette + '\x2c' + le16(0) + le16(0) + le16(image.width()) + le16(image.height()) + '\0' + '\x07';
    QByteArray codes;
    for (int i = 0; i < image.width() * image.height(); ++i) {
        if (i % 100 == 0)
            codes += char(128);
        codes += char(isBlue(image.pixel(i % image.width(), i / image.width())) ? 1 : 0);
    }
    codes += char(129);
    for (qsizetype at = 0; at < codes.size(); at += 255)
        bytes += char(qMin<qsizetype>(255, codes.size() - at)) + codes.mid(at, 255);
    return bytes + '\0' + ';';
}

// A JPEG whose Exif APP1 segment, right after SOI, holds one IFD entry: Orientation (0x0112).
QByteArray jpegWithOrientation(QSize size, quint8 orientation)
{
    const QByteArray exif =
        QByteArray::fromHex("ffe10022"           // APP1, length 34
                            "457869660000"       // "Exif\0\0"
                            "4d4d002a00000008"   // big-endian TIFF, IFD at 8
                            "0001"               // one entry
                            "011200030000000100" // Orientation, SHORT, 1 value
                            + QByteArray::number(orientation, 16).rightJustified(2, '0') + "000000000000");
    return encoded(twoColourPicture(size), "jpeg").insert(2, exif);
}

QByteArray heic(QSize size, heif_orientation orientation)
{
    const QImage rgb = twoColourPicture(size).convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(), heif_context_free);
    heif_encoder *rawEncoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder).code)
        return {};
    std::unique_ptr<heif_encoder, void (*)(heif_encoder *)> encoder(rawEncoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder.get(), 90);
    heif_image *rawImage = nullptr;
    heif_image_create(size.width(), size.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                      &rawImage);
    std::unique_ptr<heif_image, void (*)(const heif_image *)> image(rawImage, heif_image_release);
    heif_image_add_plane(image.get(), heif_channel_interleaved, size.width(), size.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < size.height(); ++y)
        memcpy(plane + y * stride, rgb.constScanLine(y), size_t(size.width()) * 3);
    std::unique_ptr<heif_encoding_options, void (*)(heif_encoding_options *)> options(
        heif_encoding_options_alloc(), heif_encoding_options_free);
    options->image_orientation = orientation;
    if (heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(), nullptr).code)
        return {};
    QByteArray bytes;
    heif_writer writer{1, [](heif_context *, const void *data, size_t size, void *out) {
                           static_cast<QByteArray *>(out)->append(static_cast<const char *>(data),
                                                                  qsizetype(size));
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    return heif_context_write(context.get(), &writer, &bytes).code ? QByteArray() : bytes;
}

bool turnedRedFirst(const QImage &image)
{
    const int w = image.width(), h = image.height();
    if (w >= h)
        return isRed(image.pixel(w / 4, h / 2)) && isBlue(image.pixel(3 * w / 4, h / 2));
    return isRed(image.pixel(w / 2, h / 4)) && isBlue(image.pixel(w / 2, 3 * h / 4));
}
} // namespace

class TestImagePipeline : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cacheIsBoundedByBytes();
    void picture_data();
    void picture();
    void failures_data();
    void failures();
    void lockedVaultCachesNothing();
    void cancelledLoadCachesNothing();
    void modelLoadsAndWarmsFullSize();
    void modelLogsErrors();
    void releaseCancelsSilently();

private:
    QUrl store(const QString &name, const QByteArray &plain, const QString &passcode = Passcode);
    QUrl url(const QString &name) const { return QUrl::fromLocalFile(m_dir.filePath(name)); }
    static bool cachedAnywhere(const QUrl &url);

    QTemporaryDir m_dir;
};

void TestImagePipeline::initTestCase()
{
    heif_init(nullptr);
    QVERIFY(m_dir.isValid());
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
}

void TestImagePipeline::cleanupTestCase()
{
    StoragePool::shared()->waitForDone();
    heif_deinit();
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

bool TestImagePipeline::cachedAnywhere(const QUrl &url)
{
    const QString key = ImageFromDecodedData::cacheKey(url);
    return DecodedImageCache::thumbnails().contains(key) || DecodedImageCache::fullSize().contains(key);
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
    QTest::newRow("jpeg wide") << encoded(twoColourPicture({1000, 500}), "jpeg") << QSize(2800, 1400)
                               << QSize(1000, 500);
    QTest::newRow("jpeg tall") << encoded(twoColourPicture({3000, 6000}), "jpeg") << QSize(1400, 2800)
                               << QSize(3000, 6000);
    QTest::newRow("jpeg exif rotated")
        << jpegWithOrientation({1000, 500}, 6) << QSize(1400, 2800) << QSize(500, 1000);
    QTest::newRow("png") << encoded(twoColourPicture({1000, 500}), "png") << QSize(2800, 1400)
                         << QSize(1000, 500);
    QTest::newRow("gif") << gif(twoColourPicture({300, 200})) << QSize(2800, 1867) << QSize(300, 200);
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
    const QUrl file = store(QStringLiteral("picture"), bytes);
    const QString key = ImageFromDecodedData::cacheKey(file);

    const ImageResult small = ImageFromDecodedData::image(file, true, false);
    QVERIFY(!small.error);
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
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("missing file") << "missing" << ImageError::fileErrorDomain << "";
    QTest::newRow("empty file") << "empty" << ImageError::fileIsEmptyDomain << "";
    QTest::newRow("not a picture") << "text" << ImageError::uiImageFailedDomain << "";
    QTest::newRow("other passcode") << "foreign"
                                    << ""
                                    << "x.circle";
}

void TestImagePipeline::failures()
{
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(QString, symbol);
    QFile(m_dir.filePath(QStringLiteral("empty"))).open(QIODevice::WriteOnly);
    store(QStringLiteral("text"), "not a picture at all");
    store(QStringLiteral("foreign"), encoded(twoColourPicture({10, 10}), "png"), QStringLiteral("another"));
    LogCapture log;

    for (const bool thumbnail : {true, false}) {
        const ImageResult result = ImageFromDecodedData::image(url(name), thumbnail, false);
        QCOMPARE(result.error ? result.error->domain : QString(), domain);
        QCOMPARE(result.systemSymbol, symbol);
        QVERIFY(result.image.isNull());
    }
    QVERIFY(!cachedAnywhere(url(name)));
    QCOMPARE(log.contains(QStringLiteral("ImageFromDecodedData:image(withURL:useThumbnail:cacheOnly:) "
                                         "Could not decrypt image")),
             !symbol.isEmpty());
}

void TestImagePipeline::lockedVaultCachesNothing()
{
    const QUrl file = store(QStringLiteral("locked"), encoded(twoColourPicture({40, 20}), "png"));
    QVERIFY(KeyChainHelper::shared().deleteKey());
    const ImageResult locked = ImageFromDecodedData::image(file, true, false);
    QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
    QCOMPARE(locked.systemSymbol, QStringLiteral("x.circle"));
    QVERIFY(!cachedAnywhere(file));
    QCOMPARE(ImageFromDecodedData::image(file, true, false).image.size(), QSize(2800, 1400));
}

void TestImagePipeline::cancelledLoadCachesNothing()
{
    const QUrl file = store(QStringLiteral("cancelled"), encoded(twoColourPicture({40, 20}), "png"));
    const std::atomic_bool cancelled(true);
    const ImageResult result = ImageFromDecodedData::image(file, true, false, &cancelled);
    QVERIFY(result.error && result.error->kind == ImageError::Kind::cancelled);
    QVERIFY(!cachedAnywhere(file));
    QVERIFY(ImageFromDecodedData::image(file, true, true).isNothing()); // cache only: no decoding
}

void TestImagePipeline::modelLoadsAndWarmsFullSize()
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

    const ImageViewModel second(file, true, true);
    QCOMPARE(second.image().size(), QSize(2800, 1400));
    QVERIFY(!second.isLoading());
}

void TestImagePipeline::modelLogsErrors()
{
    QFile(m_dir.filePath(QStringLiteral("empty"))).open(QIODevice::WriteOnly);
    LogCapture log;
    ImageViewModel empty(url(QStringLiteral("empty")), false, true);
    empty.load();
    QTRY_VERIFY(!empty.isLoading());
    QVERIFY(!empty.hasImage());
    QVERIFY(log.contains(QStringLiteral(
        "Logging:errorMsg(_:) Caught error The operation couldn’t be completed. (File is empty error 0.)")));

    const QUrl file = store(QStringLiteral("foreign"), encoded(twoColourPicture({10, 10}), "png"), "another");
    ImageViewModel foreign(file, false, true);
    foreign.load();
    QTRY_VERIFY(!foreign.isLoading());
    QCOMPARE(foreign.systemSymbol(), QStringLiteral("x.circle"));
}

void TestImagePipeline::releaseCancelsSilently()
{
    const QUrl file = store(QStringLiteral("released"), encoded(twoColourPicture({40, 20}), "png"));
    ImageViewModel model(file, true, true);
    LogCapture log;
    // Hold every pool thread so that the load is still waiting when the view goes away.
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
    QVERIFY(!DecodedImageCache::thumbnails().contains(ImageFromDecodedData::cacheKey(file)));
    QVERIFY(!model.hasImage());
    QVERIFY(log.errors().isEmpty());

    model.load();
    QTRY_VERIFY(!model.image().isNull());
}

LUMISERA_TEST_MAIN(TestImagePipeline)
#include "TestImagePipeline.moc"

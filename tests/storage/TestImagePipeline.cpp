#include "ExifPictures.h"
#include "HostilePictures.h"
#include "LogCapture.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "security/FileEncryptor.h"
#include "storage/DecodeBudget.h"
#include "storage/DecodedImageCache.h"
#include "storage/DecryptingReader.h"
#include "storage/ExifThumbnail.h"
#include "storage/FileNaming.h"
#include "storage/HeifThumbnail.h"
#include "storage/ImageDecoder.h"
#include "storage/ImageViewModel.h"
#include "storage/PictureHeader.h"
#include "storage/StoragePool.h"
#include "storage/TileThumbnailQueue.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QtConcurrent>
#include <libheif/heif.h>

#if defined(__SANITIZE_ADDRESS__) // x265 3.5 keeps a block per encoder opened; only the test encodes
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libx265.so\n";
}
#endif

using namespace Qt::StringLiterals;

namespace {

// Red in the first half along the long edge, blue in the second: shows which way a picture turned.
QImage twoColourPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const bool wide = size.width() >= size.height();
    QPainter(&image).fillRect(0, 0, size.width() / (wide ? 2 : 1), size.height() / (wide ? 1 : 2), Qt::red);
    return image;
}

QByteArray encoded(QSize size, const char *format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return twoColourPicture(size).save(&buffer, format) ? buffer.data() : QByteArray();
}

template <typename T, auto release>
using Heif = std::unique_ptr<T, decltype([](T *object) { release(object); })>;

// thumbnailEdge > 0 adds a thumbnail of that long edge, as a phone writes one.
QByteArray heic(QSize size, heif_orientation orientation, int thumbnailEdge = 0)
{
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
    QImage view(plane, size.width(), size.height(), stride, QImage::Format_RGB888);
    QPainter(&view).drawImage(0, 0, twoColourPicture(size));
    const Heif<heif_encoding_options, heif_encoding_options_free> options(heif_encoding_options_alloc());
    options->image_orientation = orientation;
    QTemporaryFile file;
    heif_image_handle *primary = nullptr;
    if (!file.open() ||
        heif_context_encode_image(context.get(), image, encoder, options.get(), &primary).code)
        return {};
    const Heif<heif_image_handle, heif_image_handle_release> primaryOwner(primary);
    if ((thumbnailEdge > 0 && heif_context_encode_thumbnail(context.get(), image, primary, encoder,
                                                            options.get(), thumbnailEdge, nullptr)
                                  .code) ||
        heif_context_write_to_file(context.get(), qPrintable(file.fileName())).code)
        return {};
    return file.readAll();
}

bool turnedRedFirst(const QImage &image)
{
    const int w = image.width(), h = image.height();
    const QRgb first = w >= h ? image.pixel(w / 4, h / 2) : image.pixel(w / 2, h / 4);
    const QRgb second = w >= h ? image.pixel(3 * w / 4, h / 2) : image.pixel(w / 2, 3 * h / 4);
    return qRed(first) > 150 && qBlue(first) < 100 && qBlue(second) > 150 && qRed(second) < 100;
}

bool cached(const QUrl &url, bool thumbnail)
{
    return (thumbnail ? DecodedImageCache::thumbnails() : DecodedImageCache::fullSize())
        .contains(ImageFromDecodedData::cacheKey(url));
}

bool tileCached(const QUrl &url)
{
    return DecodedImageCache::tiles().contains(ImageFromDecodedData::cacheKey(url));
}

constexpr int TileEdge = 2 * TileThumbnailQueue::defaultTileEdge;

// An Exif APP1 segment, put after SOI, holding only Orientation (0x0112) = 6: turn 90° clockwise.
const QByteArray RotatingExif = QByteArray::fromBase64("/+EAIkV4aWYAAE1NACoAAAAIAAEBEgADAAAAAQAGAAAAAAAA");

// A HEIC row is empty where libheif has no encoder to make its picture.
#define SKIP_MISSING_HEIC(bytes)                                                                             \
    if ((bytes).isEmpty() && QByteArray(QTest::currentDataTag()).startsWith("heic"))                         \
    QSKIP("libheif has no HEVC encoder here, so no HEIC test picture can be made")

// The most memory this process has held since resetPeakMemory(), in MiB (VmHWM).
qint64 peakMemoryMiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    }
    return -1;
}

bool resetPeakMemory()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Holds every pool thread until released, so that what is handed to the pool meanwhile waits.
struct PoolGate
{
    QSemaphore gate;
    PoolGate()
    {
        for (int i = 0; i < StoragePool::shared()->maxThreadCount(); ++i)
            StoragePool::shared()->start([this] { gate.acquire(); });
    }
    ~PoolGate()
    {
        gate.release(StoragePool::shared()->maxThreadCount());
        StoragePool::shared()->waitForDone();
        QCoreApplication::processEvents();
    }
};
} // namespace

class TestImagePipeline : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QUrl store(const QString &name, const QByteArray &plain)
    {
        if (!writeBytes(m_dir.filePath(name), FileEncryptor::encrypt(plain, u"correct horse"_s).value()))
            qFatal("cannot store the test picture");
        return url(name);
    }
    QUrl url(const QString &name) const { return QUrl::fromLocalFile(m_dir.filePath(name)); }

private Q_SLOTS:
    void initTestCase()
    {
        heif_init(nullptr); // the test's encoder; the decoder holds its own reference
        QVERIFY(writeBytes(m_dir.filePath(QStringLiteral("empty")), QByteArray()));
        store(QStringLiteral("text"), "not a picture at all");
        store(QStringLiteral("picture"), encoded({40, 20}, "png"));
    }
    void cleanupTestCase() { heif_deinit(); }
    void init()
    {
        openTestSession(u"correct horse"_s);
        DecodedImageCache::thumbnails().removeAllObjects();
        DecodedImageCache::fullSize().removeAllObjects();
        DecodedImageCache::tiles().removeAllObjects();
    }

    // What the headers declare, for every format the pipeline reads, before anything is decoded.
    void declaredSizes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("wholePicture"); // the decoder keeps every block's coefficients
        QTest::newRow("jpeg") << encoded({300, 200}, "jpeg") << "jpeg"_ba << QSize(300, 200) << false;
        QBuffer progressive;
        progressive.open(QIODevice::WriteOnly);
        QImageWriter writer(&progressive, "jpeg");
        writer.setProgressiveScanWrite(true);
        QVERIFY(writer.write(twoColourPicture({300, 200})));
        QTest::newRow("progressive jpeg") << progressive.data() << "jpeg"_ba << QSize(300, 200) << true;
        QTest::newRow("png") << encoded({300, 200}, "png") << "png"_ba << QSize(300, 200) << false;
        QTest::newRow("tiff") << encoded({300, 200}, "tiff") << "tiff"_ba << QSize(300, 200) << false;
        QTest::newRow("webp") << encoded({300, 200}, "webp") << "webp"_ba << QSize(300, 200) << false;
        QTest::newRow("bmp") << encoded({300, 200}, "bmp") << "bmp"_ba << QSize(300, 200) << false;
        QTest::newRow("gif") << HostilePictures::gif({300, 200}) << "gif"_ba << QSize(300, 200) << false;
        QTest::newRow("heic") << heic({64, 32}, heif_orientation_normal) << "heif"_ba << QSize(64, 32)
                              << false;
        QTest::newRow("jpeg cut in its header")
            << encoded({300, 200}, "jpeg").left(100) << "jpeg"_ba << QSize() << false;
        QTest::newRow("not a picture") << "plain words"_ba << QByteArray() << QSize() << false;
    }
    void declaredSizes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(bool, wholePicture);
        SKIP_MISSING_HEIC(bytes);
        const PictureHeader header = PictureHeader::read(bytes);
        QCOMPARE(PictureHeader::formatName(header.format), format);
        // A HEIF image declares its coded size, which the picture is cropped from.
        if (format == "heif")
            QVERIFY2(header.size.expandedTo(size) == header.size,
                     qPrintable(QString::number(header.size.height())));
        else
            QCOMPARE(header.size, size);
        QCOMPARE(header.wholePictureBytes > 0, wholePicture);
    }

    // A few hundred bytes that declare a huge picture. Each is refused from its declared size: no
    // tile, thumbnail or full-size picture, and no memory taken for one.
    void bombsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("declared");
        const auto row = [](const char *tag, const QByteArray &bytes, QSize declared) {
            QTest::newRow(tag) << bytes << declared;
        };
        row("progressive jpeg", HostilePictures::jpeg({20000, 20000}), {20000, 20000});
        row("grey progressive jpeg", HostilePictures::jpeg({30000, 30000}, 1), {30000, 30000});
        row("baseline jpeg", HostilePictures::jpeg({65500, 65500}, 3, false), {65500, 65500});
        row("png", HostilePictures::png({20000, 20000}), {20000, 20000});
        row("16-bit png", HostilePictures::png({9000, 9000}, 16), {9000, 9000});
        row("gif", HostilePictures::gif({11000, 11000}), {11000, 11000});
        row("webp", HostilePictures::webp({16384, 16384}), {16384, 16384});
        row("tiff", HostilePictures::tiff({20000, 20000}), {20000, 20000});
        row("bmp", HostilePictures::bmp({20000, 20000}), {20000, 20000});
        row("heic",
            HostilePictures::withDeclaredSize(heic({64, 32}, heif_orientation_normal), {20000, 20000}),
            {20000, 20000});
    }
    void bombsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, declared);
        SKIP_MISSING_HEIC(bytes);
        QVERIFY(bytes.size() < 4096);
        const PictureHeader header = PictureHeader::read(bytes);
        QCOMPARE(header.size, declared);
        QCOMPARE(DecodeBudget::cost(header, {TileEdge, TileEdge}, bytes.size()), std::nullopt);
        QVERIFY(resetPeakMemory());
        const qint64 before = peakMemoryMiB();
        QVERIFY(ImageDecoder::decodeShrunk(bytes, TileEdge).isNull());
        QVERIFY(ImageDecoder::decodeFitted(bytes, ImageFromDecodedData::thumbnailEdge).isNull());
        QVERIFY(ImageDecoder::decode(bytes).isNull());
        if (PictureHeader::formatName(header.format) == "jpeg" && header.wholePictureBytes > 0) {
            // libjpeg bounds a progressive picture's coefficients too, for whoever calls Qt's
            // reader without the budget.
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer, "jpeg");
            reader.setScaledSize({TileEdge, TileEdge});
            QVERIFY(buffer.open(QIODevice::ReadOnly) && reader.read().isNull());
        }
        const QUrl file = store(u"bomb.jpg"_s, bytes);
        const ImageResult tile = ImageFromDecodedData::tile(file, *testSession(), TileEdge, false);
        QVERIFY(tile.image.isNull() && tile.error && tile.error->kind == ImageError::Kind::uiImageFailed);
        QVERIFY(ImageFromDecodedData::image(file, *testSession(), true, false).image.isNull());
        QVERIFY2(peakMemoryMiB() - before < 64, qPrintable(QString::number(peakMemoryMiB() - before)));
        QCOMPARE(DecodeBudget::shared().inUse(), 0);
    }

    // Decodes wait for their bytes: however many run at once, together they stay in the budget.
    void decodesTogetherStayWithinTheBudget()
    {
        const QByteArray photo = encoded({4000, 3000}, "png");
        const std::optional<qint64> cost =
            DecodeBudget::cost(PictureHeader::read(photo), {2800, 2100}, photo.size());
        QVERIFY(cost && *cost * 8 > DecodeBudget::capacity);
        DecodeBudget::shared().resetPeak();
        QThreadPool pool;
        pool.setMaxThreadCount(8);
        QList<QFuture<QImage>> decodes;
        for (int i = 0; i < 8; ++i)
            decodes.append(
                QtConcurrent::run(&pool, [&photo] { return ImageDecoder::decodeFitted(photo, 2800); }));
        for (QFuture<QImage> &decode : decodes)
            QCOMPARE(decode.result().size(), QSize(2800, 2100));
        QVERIFY(DecodeBudget::shared().peak() >= *cost);
        QVERIFY(DecodeBudget::shared().peak() <= DecodeBudget::capacity);
        QCOMPARE(DecodeBudget::shared().inUse(), 0);
    }

    // libheif is loaded on first use; ending the process afterwards crashed in its clean-up.
    void processEndsCleanlyAfterLoadingHeif()
    {
        QProcess helper;
        helper.start(QStringLiteral(LUMISERA_HEIF_EXIT_HELPER));
        QVERIFY(helper.waitForFinished());
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), 0);
    }

    void cacheIsBoundedByBytes()
    {
        const QImage picture(100, 100, QImage::Format_RGB32); // 40000 bytes
        DecodedImageCache cache(u"Test"_s, 3 * picture.sizeInBytes());
        for (const QString &key : {u"a"_s, u"b"_s, u"c"_s})
            QVERIFY(cache.setObject(key, picture));
        QVERIFY(cache.isFull() && cache.object(u"a"_s)); // a is now the most recently used
        QVERIFY(cache.setObject(u"d"_s, picture));
        QVERIFY(!cache.contains(u"b"_s) && cache.contains(u"a"_s) && cache.contains(u"c"_s));
        QVERIFY(cache.setObject(u"c"_s, picture.scaled(50, 50))); // replaced, not added
        QVERIFY(!cache.isFull() && !cache.setObject(u"huge"_s, QImage(200, 200, QImage::Format_RGB32)));
        QCOMPARE(cache.totalCost(), 2 * picture.sizeInBytes() + picture.sizeInBytes() / 4);
        // A picture decoded from before the vault locked is not kept after it.
        const quint64 beforeLock = cache.clearCount();
        cache.removeAllObjects();
        QVERIFY(!cache.setObject(u"late"_s, picture, {}, beforeLock) && cache.count() == 0);
        QVERIFY(cache.setObject(u"late"_s, picture, {}, cache.clearCount()));
    }

    // A cached picture serves only while its file is the same; a new file under the old name shows.
    void noStalePictures_data()
    {
        QTest::addColumn<bool>("deleteFirst");
        QTest::newRow("rewritten in place") << false;
        QTest::newRow("deleted, then stored again") << true;
    }
    void noStalePictures()
    {
        QFETCH(bool, deleteFirst);
        enum { thumbnail, fullSize, tile };
        const auto wide = [](const QUrl &url, int size) {
            const QImage image =
                size == tile
                    ? ImageFromDecodedData::tile(url, *testSession(), TileEdge, false).image
                    : ImageFromDecodedData::image(url, *testSession(), size == thumbnail, false).image;
            return image.width() > image.height();
        };
        const QUrl file = store(u"a.png"_s, encoded({40, 20}, "png"));
        for (const int size : {thumbnail, fullSize, tile})
            QVERIFY(wide(file, size));
        if (deleteFirst)
            QVERIFY(QFile::remove(file.toLocalFile()));
        QVERIFY(ImageFromDecodedData::image(file, *testSession(), true, true).image.isNull() == deleteFirst);
        QVERIFY(ImageFromDecodedData::tile(file, *testSession(), TileEdge, true).image.isNull() ==
                deleteFirst);
        store(u"a.png"_s, encoded({20, 40}, "png"));
        for (const int size : {thumbnail, fullSize, tile})
            QVERIFY(!wide(file, size));
    }

    void picture_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("fullSize");
        QTest::newRow("jpeg wide") << encoded({1000, 500}, "jpeg") << QSize(1000, 500);
        QTest::newRow("jpeg tall") << encoded({3000, 6000}, "jpeg") << QSize(3000, 6000);
        QTest::newRow("exif rotated")
            << encoded({1000, 500}, "jpeg").insert(2, RotatingExif) << QSize(500, 1000);
        QTest::newRow("tiff") << encoded({500, 1000}, "tiff") << QSize(500, 1000);
        QTest::newRow("heic rotated") << heic({64, 32}, heif_orientation_rotate_90_cw) << QSize(32, 64);
    }
    void picture()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, fullSize);
        SKIP_MISSING_HEIC(bytes);
        const QUrl file = store(QStringLiteral("decoded"), bytes);
        for (const bool thumbnail : {true, false}) {
            const QImage image = ImageFromDecodedData::image(file, *testSession(), thumbnail, false).image;
            QCOMPARE(image.size(), thumbnail ? fullSize.scaled(2800, 2800, Qt::KeepAspectRatio) : fullSize);
            QVERIFY(turnedRedFirst(image));
            QVERIFY(cached(file, true) && cached(file, false) == !thumbnail);
        }
    }

    void failures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("expected"); // the error's domain or the system symbol
        QTest::newRow("missing file") << "missing" << QString() << ImageError::fileErrorDomain;
        QTest::newRow("empty file") << "empty" << QString() << ImageError::fileIsEmptyDomain;
        QTest::newRow("not a picture") << "text" << QString() << ImageError::uiImageFailedDomain;
        QTest::newRow("wrong passcode") << "picture" << QString("wrong") << QString("x.circle");
        QTest::newRow("locked vault") << "picture" << QString("locked") << ImageError::cancellationDomain;
        QTest::newRow("cancelled") << "picture" << QString("cancelled") << ImageError::cancellationDomain;
    }
    void failures()
    {
        QFETCH(QString, name);
        QFETCH(QString, state);
        QFETCH(QString, expected);
        const std::atomic_bool cancel(state == "cancelled");
        if (state == "wrong")
            openTestSession(u"battery staple"_s);
        if (state == "locked")
            testSession()->end();
        for (const bool thumbnail : {true, false}) {
            const ImageResult result =
                ImageFromDecodedData::image(url(name), *testSession(), thumbnail, false, &cancel);
            QCOMPARE(result.error ? result.error->domain : result.systemSymbol, expected);
            QVERIFY(result.image.isNull() && (!result.error || result.systemSymbol.isEmpty()));
            QVERIFY(!cached(url(name), thumbnail));
        }
    }

    // Tiles are read by content, shrunk while decoding, never enlarged, and make nothing else.
    void tile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("png named .JPEG") << "a.JPEG" << encoded({40, 20}, "png") << QSize(40, 20);
        QTest::newRow("tiff named .heic") << "a.heic" << encoded({500, 1000}, "tiff") << QSize(140, 280);
        QTest::newRow("12-megapixel jpeg") << "a.jpg" << encoded({4000, 3000}, "jpeg") << QSize(280, 210);
        QTest::newRow("portrait jpeg") << "a.jpg" << encoded({1500, 3000}, "jpeg") << QSize(140, 280);
        QTest::newRow("exif rotated")
            << "a.jpg" << encoded({1000, 500}, "jpeg").insert(2, RotatingExif) << QSize(140, 280);
        QTest::newRow("heic rotated")
            << "a.png" << heic({64, 32}, heif_orientation_rotate_90_cw) << QSize(32, 64);
    }
    void tile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, expected);
        SKIP_MISSING_HEIC(bytes);
        const QUrl file = store(name, bytes);
        const QImage image = ImageFromDecodedData::tile(file, *testSession(), TileEdge, false).image;
        QCOMPARE(image.size(), expected);
        QVERIFY(turnedRedFirst(image));
        // One tile's bytes, not the full-size picture nor a thumbnail nor a warm-up.
        QCOMPARE(DecodedImageCache::tiles().totalCost(), image.sizeInBytes());
        QVERIFY(DecodedImageCache::thumbnails().count() == 0 && DecodedImageCache::fullSize().count() == 0);
        // Cached for another edge: a miss.
        QVERIFY(ImageFromDecodedData::tile(file, *testSession(), 2 * TileEdge, true).image.isNull());
    }

    // The camera's preview is found only where every offset and length adds up.
    void exifPreview_data()
    {
        using ExifPictures::Lies;
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("needed");
        const QByteArray photo = encoded({400, 300}, "jpeg");
        const QByteArray preview = ExifPictures::previewOf(twoColourPicture({400, 300}));
        const QByteArray good = ExifPictures::withPreview(photo, preview, 6);
        const qint64 segmentEnd = 2 + ExifPictures::segment(preview, 6).size();
        const auto found = int(ExifThumbnail::Status::found);
        const auto none = int(ExifThumbnail::Status::none);
        const auto more = int(ExifThumbnail::Status::needMore);
        QTest::newRow("camera preview") << good << found << qint64(0);
        QTest::newRow("no exif") << photo << none << qint64(0);
        QTest::newRow("not a jpeg") << encoded({40, 20}, "png") << none << qint64(0);
        QTest::newRow("offset past the end")
            << ExifPictures::withPreview(photo, preview, 1, Lies{100000, -1, -1}) << none << qint64(0);
        QTest::newRow("length wraps round")
            << ExifPictures::withPreview(photo, preview, 1, Lies{-1, 0xFFFFFFF0, -1}) << none << qint64(0);
        QTest::newRow("length one past")
            << ExifPictures::withPreview(photo, preview, 1, Lies{-1, preview.size() + 1, -1}) << none
            << qint64(0);
        QTest::newRow("IFD1 is IFD0")
            << ExifPictures::withPreview(photo, preview, 1, Lies{-1, -1, 8}) << none << qint64(0);
        QTest::newRow("IFD1 past the end")
            << ExifPictures::withPreview(photo, preview, 1, Lies{-1, -1, 0x7FFFFFF0}) << none << qint64(0);
        QTest::newRow("preview is not a jpeg")
            << ExifPictures::withPreview(photo, preview, 1, Lies{8, 16, -1}) << none << qint64(0);
        QTest::newRow("prefix ends inside the segment") << good.left(40) << more << segmentEnd;
        QTest::newRow("prefix ends in a marker") << good.left(3) << more << qint64(6);
        // The APP1 length says the segment ends before the preview does.
        QByteArray shortSegment = good;
        const int declared = (quint8(good[4]) << 8 | quint8(good[5])) - 10;
        shortSegment[4] = char(declared >> 8);
        shortSegment[5] = char(declared & 0xFF);
        QTest::newRow("segment shorter than its preview") << shortSegment << none << qint64(0);
    }
    void exifPreview()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(qint64, needed);
        const ExifThumbnail found = ExifThumbnail::find(bytes);
        QCOMPARE(int(found.status), status);
        if (found.status == ExifThumbnail::Status::needMore)
            QCOMPARE(found.neededBytes, needed);
        if (found.status == ExifThumbnail::Status::found) {
            QCOMPARE(found.orientation, 6);
            QCOMPARE(QImage::fromData(found.jpeg).size(), QSize(160, 120));
        }
        // Every prefix answers without reading outside itself (ASan) and never finds more.
        for (qsizetype cut = 0; cut < bytes.size() && cut < 2048; ++cut) {
            const ExifThumbnail part = ExifThumbnail::find(QByteArrayView(bytes).first(cut));
            QVERIFY(part.status != ExifThumbnail::Status::found ||
                    status == int(ExifThumbnail::Status::found));
        }
    }

    // Each EXIF orientation turns the stored picture upright: red ends up on the left.
    void exifOrientation_data()
    {
        QTest::addColumn<int>("orientation");
        for (int orientation = 1; orientation <= 8; ++orientation)
            QTest::addRow("%d", orientation) << orientation;
    }
    void exifOrientation()
    {
        QFETCH(int, orientation);
        // Upright: red on the left, a green dot top left. Stored as the camera would for orientation.
        QImage upright = twoColourPicture({40, 20});
        upright.setPixel(0, 0, qRgb(0, 255, 0));
        const QTransform clockwise = QTransform().rotate(90);
        const QTransform counterClockwise = QTransform().rotate(-90);
        const QImage stored[] = {upright,
                                 upright.mirrored(true, false),
                                 upright.mirrored(true, true),
                                 upright.mirrored(false, true),
                                 upright.transformed(clockwise).mirrored(true, false),
                                 upright.transformed(counterClockwise),
                                 upright.transformed(counterClockwise).mirrored(true, false),
                                 upright.transformed(clockwise)};
        const QImage shown = ExifThumbnail::upright(stored[orientation - 1], orientation);
        QCOMPARE(shown.size(), QSize(40, 20));
        QCOMPARE(shown.pixel(0, 0), qRgb(0, 255, 0));
        QVERIFY(turnedRedFirst(shown));
    }

    // Any stretch of a stored file decrypts on its own, from the block before it; the plain end
    // comes from the padding, and nothing past it is handed out.
    void decryptingReader_data()
    {
        QTest::addColumn<qsizetype>("plainSize");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<bool>("answered");
        QTest::newRow("start") << qsizetype(100000) << qint64(0) << qint64(40) << true;
        QTest::newRow("inside one block") << qsizetype(100000) << qint64(17) << qint64(5) << true;
        QTest::newRow("across blocks") << qsizetype(100000) << qint64(70001) << qint64(4099) << true;
        QTest::newRow("to the last byte") << qsizetype(100000) << qint64(99990) << qint64(10) << true;
        QTest::newRow("past the end") << qsizetype(100000) << qint64(99990) << qint64(11) << false;
        QTest::newRow("negative offset") << qsizetype(100000) << qint64(-1) << qint64(2) << false;
        QTest::newRow("whole block of padding") << qsizetype(32) << qint64(0) << qint64(32) << true;
        QTest::newRow("one block") << qsizetype(3) << qint64(1) << qint64(2) << true;
        QTest::newRow("empty file") << qsizetype(0) << qint64(0) << qint64(0) << true;
    }
    void decryptingReader()
    {
        QFETCH(qsizetype, plainSize);
        QFETCH(qint64, offset);
        QFETCH(qint64, length);
        QFETCH(bool, answered);
        QByteArray plain(plainSize, Qt::Uninitialized);
        for (qsizetype i = 0; i < plain.size(); ++i)
            plain[i] = char((i * 7919) % 251);
        const QUrl file = store(u"reader"_s, plain);
        QFile stored(file.toLocalFile());
        QVERIFY(stored.open(QIODevice::ReadOnly));
        DecryptingReader reader(stored.handle(), u"correct horse"_s);
        QCOMPARE(reader.plainSize(), std::optional<qint64>(plainSize));
        const std::optional<QByteArray> bytes = reader.read(offset, length);
        QCOMPARE(bytes.has_value(), answered);
        if (answered)
            QCOMPARE(*bytes, plain.mid(offset, length));
        // Only the blocks asked for or a window of them, the one before, and the last two for the length.
        const qint64 bound = 32 + 16 + qMax(length + 32, DecryptingReader::readAhead + 16);
        QVERIFY(reader.bytesRead() <= bound);
        if (answered && length > 0) // from the window, without reading again
            QCOMPARE(reader.read(offset, 1), std::optional<QByteArray>(plain.mid(offset, 1)));
        QVERIFY(reader.bytesRead() <= bound);

        DecryptingReader wrongKey(stored.handle(), u"wrong horse"_s);
        QVERIFY(!wrongKey.plainSize() || *wrongKey.plainSize() != plainSize);
    }

    // A file whose length is not whole blocks has no plain size, and gives nothing.
    void decryptingReaderRefusesCutFiles()
    {
        const QUrl file = store(u"cut"_s, QByteArray(1000, 'x'));
        QFile stored(file.toLocalFile());
        QVERIFY(stored.open(QIODevice::ReadWrite) && stored.resize(stored.size() - 5));
        DecryptingReader reader(stored.handle(), u"correct horse"_s);
        QVERIFY(!reader.plainSize());
        QVERIFY(!reader.read(0, 1));
    }

    // A phone's HEIC carries a thumbnail: it is the tile's preview, upright, without the photo's
    // decode. Without one, or in a damaged file, there is none.
    void heicThumbnail_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("preview");
        QTest::newRow("thumbnail") << heic({1600, 800}, heif_orientation_normal, 160) << QSize(160, 80);
        QTest::newRow("turned thumbnail")
            << heic({1600, 800}, heif_orientation_rotate_90_cw, 160) << QSize(80, 160);
        QTest::newRow("no thumbnail") << heic({1600, 800}, heif_orientation_normal) << QSize();
        QTest::newRow("cut short") << heic({1600, 800}, heif_orientation_normal, 160).left(600) << QSize();
        QTest::newRow("a JPEG") << encoded({400, 200}, "jpeg") << QSize();
    }
    void heicThumbnail()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, preview);
        QVERIFY(!bytes.isEmpty());
        const QUrl file = store(u"IMG_0001.HEIC"_s, bytes);
        QFile stored(file.toLocalFile());
        QVERIFY(stored.open(QIODevice::ReadOnly));
        DecryptingReader reader(stored.handle(), u"correct horse"_s);
        const QImage thumbnail = HeifThumbnail::read(reader);
        QCOMPARE(thumbnail.isNull(), !preview.isValid());
        if (!preview.isValid())
            return;
        QCOMPARE(thumbnail.size(), preview);
        QVERIFY(turnedRedFirst(thumbnail));
        const ImageResult tile = ImageFromDecodedData::tilePreview(file, *testSession(), TileEdge);
        QCOMPARE(tile.image.size(), preview);
    }

    // A photo with a camera preview shows it first, then its sharp tile; one without, only the tile;
    // a lying preview is no preview, and the tile still comes. Only a file named as a JPEG is looked
    // at for one.
    void previewThenTile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("preview");
        // Stored turned clockwise: orientation 8 turns it back.
        const QImage sideways = twoColourPicture({1000, 500}).transformed(QTransform().rotate(90));
        const QByteArray photo = encoded({1000, 500}, "jpeg");
        const QByteArray rotated = [&sideways] {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            sideways.save(&buffer, "jpeg");
            return buffer.data();
        }();
        const QByteArray preview = ExifPictures::previewOf(twoColourPicture({1000, 500}));
        const QString jpg = u"photo.jpg"_s;
        QTest::newRow("camera preview")
            << jpg << ExifPictures::withPreview(photo, preview) << QSize(160, 120);
        QTest::newRow("upper-case extension")
            << u"IMG_0001.JPEG"_s << ExifPictures::withPreview(photo, preview) << QSize(160, 120);
        QTest::newRow("turned preview")
            << jpg << ExifPictures::withPreview(rotated, ExifPictures::previewOf(sideways), 8)
            << QSize(160, 120);
        QTest::newRow("no preview") << jpg << photo << QSize();
        QTest::newRow("preview past the end")
            << jpg << ExifPictures::withPreview(photo, preview, 1, {100000, -1, -1}) << QSize();
        QTest::newRow("IFD loop") << jpg << ExifPictures::withPreview(photo, preview, 1, {-1, -1, 8})
                                  << QSize();
        QTest::newRow("named as a PNG")
            << u"photo.png"_s << ExifPictures::withPreview(photo, preview) << QSize();
    }
    void previewThenTile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, preview);
        const QUrl file = store(FileNaming::storedFileName(name), bytes);
        TileThumbnailQueue queue(TileThumbnailQueue::defaultTileEdge, 2);
        queue.setSession(testSession());
        QList<std::pair<bool, QImage>> answers; // (sharp, picture) in the order they came
        connect(&queue, &TileThumbnailQueue::tilePreviewReady, this,
                [&answers](const QUrl &, const QImage &image) {
                    answers.append({false, image});
                });
        connect(&queue, &TileThumbnailQueue::tileReady, this, [&answers](const QUrl &, const QImage &image) {
            answers.append({true, image});
        });
        queue.request(file);
        QTRY_COMPARE(queue.pendingCount(), 0);
        QCOMPARE(answers.size(), preview.isValid() ? 2 : 1);
        if (preview.isValid()) {
            QVERIFY(!answers.first().first);
            QCOMPARE(answers.first().second.size(), preview);
            QVERIFY(turnedRedFirst(answers.first().second));
        }
        QVERIFY(answers.last().first);
        QCOMPARE(answers.last().second.size(), QSize(280, 140));
        QVERIFY(turnedRedFirst(answers.last().second));
    }

    // A stored file that ends inside its EXIF segment gives no preview and no crash.
    void truncatedFileHasNoPreview()
    {
        const QByteArray preview = ExifPictures::previewOf(twoColourPicture({400, 300}));
        const QByteArray bytes = ExifPictures::withPreview(encoded({400, 300}, "jpeg"), preview);
        const qsizetype segmentEnd = 2 + ExifPictures::segment(preview, 1).size();
        for (const qsizetype length : {qsizetype(3), qsizetype(40), segmentEnd - 1}) {
            const QUrl file = store(u"cut.jpg"_s, bytes.left(length));
            const ImageResult result = ImageFromDecodedData::tilePreview(file, *testSession(), TileEdge);
            QVERIFY(result.isNothing());
        }
        QVERIFY(!ImageFromDecodedData::tilePreview(store(u"whole.jpg"_s, bytes), *testSession(), TileEdge)
                     .image.isNull());
    }

    // What comes into view is decoded before what was asked for earlier and lies further on.
    void queueReorders()
    {
        // One thread, so that the decodes finish in the order they are handed out.
        const int threads = StoragePool::shared()->maxThreadCount();
        StoragePool::shared()->setMaxThreadCount(1);
        const auto restore = qScopeGuard([threads] { StoragePool::shared()->setMaxThreadCount(threads); });
        TileThumbnailQueue queue(TileThumbnailQueue::defaultTileEdge, 1);
        queue.setSession(testSession());
        QSignalSpy ready(&queue, &TileThumbnailQueue::tileReady);
        const QUrl a = store(u"a.png"_s, encoded({40, 20}, "png")),
                   b = store(u"b.png"_s, encoded({40, 20}, "png")),
                   c = store(u"c.png"_s, encoded({40, 20}, "png")),
                   d = store(u"d.png"_s, encoded({40, 20}, "png")),
                   e = store(u"e.png"_s, encoded({40, 20}, "png"));
        {
            PoolGate gate;
            for (const QUrl &each : {a, b, c, d, e})
                queue.request(each);
            queue.reorder({e, url(u"missing"_s), d});
        }
        QTRY_COMPARE(queue.pendingCount(), 0);
        QList<QUrl> order;
        for (const QList<QVariant> &signal : std::as_const(ready))
            order.append(signal.at(0).toUrl());
        // a was being decoded and b next in line when the order changed.
        QCOMPARE(order, (QList<QUrl>{a, b, e, d, c}));
    }

    void queueAnswersWhatIsStillWanted()
    {
        TileThumbnailQueue queue(TileThumbnailQueue::defaultTileEdge, 2);
        queue.setSession(testSession());
        QSignalSpy ready(&queue, &TileThumbnailQueue::tileReady);
        QSignalSpy failed(&queue, &TileThumbnailQueue::tileFailed);
        const QUrl a = store(u"a.png"_s, encoded({40, 20}, "png")),
                   b = store(u"b.png"_s, encoded({400, 200}, "png")),
                   d = store(u"d.png"_s, encoded({40, 20}, "png"));
        {
            PoolGate gate;
            for (const QUrl &each : {a, b, url(u"text"_s), d, url(u"missing"_s)})
                queue.request(each, each == b ? 7 : 0);
            QCOMPARE(queue.runningCount(), 3);                        // two decoding, text next in line
            queue.cancel(a);                                          // decoding
            queue.retainOnly({b, url(u"text"_s), url(u"missing"_s)}); // d waits
            QCOMPARE(queue.pendingCount(), 3);
        }
        QTRY_COMPARE(queue.pendingCount(), 0);
        QCOMPARE(ready.size(), 1);
        QCOMPARE(ready.at(0).at(0).toUrl(), b);
        QCOMPARE(ready.at(0).at(1).value<QImage>().size(), QSize(280, 140));
        QCOMPARE(ready.at(0).at(2).toULongLong(), 7u);
        QCOMPARE(failed.size(), 2);
        QVERIFY(!tileCached(a) && !tileCached(d)); // cancelled before their turn: not decoded
        queue.request(b, 8);                       // from the cache, at once
        QCOMPARE(ready.size(), 2);
        QCOMPARE(ready.at(1).at(2).toULongLong(), 8u);
    }

    // Locking drops the tiles and what is being decoded; deleting a file drops its tile.
    void lockAndDeleteDropTiles()
    {
        const QUrl a = store(u"a.png"_s, encoded({40, 20}, "png")),
                   b = store(u"b.png"_s, encoded({40, 20}, "png"));
        QVERIFY(!ImageFromDecodedData::tile(a, *testSession(), TileEdge, false).image.isNull());
        ImageFromDecodedData::forget(a);
        QVERIFY(!tileCached(a));
        QVERIFY(!ImageFromDecodedData::tile(a, *testSession(), TileEdge, false).image.isNull());
        ImageFromDecodedData::forgetFolder(m_dir.path());
        QVERIFY(!tileCached(a));

        QVERIFY(!ImageFromDecodedData::tile(a, *testSession(), TileEdge, false).image.isNull());
        TileThumbnailQueue queue;
        queue.setSession(testSession());
        QSignalSpy ready(&queue, &TileThumbnailQueue::tileReady);
        QSignalSpy failed(&queue, &TileThumbnailQueue::tileFailed);
        {
            PoolGate gate;
            queue.request(b);
            testSession()->end();
            ImageFromDecodedData::forgetAll(); // as the application does on locking
            queue.cancelAll();                 // as the grid does on locking
            QCOMPARE(queue.pendingCount(), 0);
            queue.request(a);
            QCOMPARE(queue.pendingCount(), 0); // nothing is asked for without an open session
        }
        QVERIFY(ready.isEmpty() && failed.isEmpty());
        QCOMPARE(DecodedImageCache::tiles().count(), 0);
    }

    void modelLoadsWarmsAndReleases()
    {
        ImageViewModel model(url(QStringLiteral("picture")), testSession(), true, true);
        LogCapture log;
        {
            PoolGate gate; // the load still waits when the view goes away
            model.load();
            model.release();
        }
        QVERIFY(!cached(model.url(), true) && !model.hasImage());
        QVERIFY(log.errors().isEmpty()); // a cancelled load is not a failure

        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.image().size(), QSize(2800, 1400));
        QTRY_VERIFY(cached(model.url(), false)); // warmed for the photo viewer
        // A full cache is not churned by warm-ups (the pages of these pictures are never touched).
        for (const QString &key : {u"0"_s, u"1"_s, u"2"_s, u"3"_s})
            DecodedImageCache::fullSize().setObject(key, QImage(8192, 8192, QImage::Format_Grayscale8));
        const ImageViewModel third(store(QStringLiteral("third"), encoded({8, 4}, "png")), testSession(),
                                   true, true);
        StoragePool::shared()->waitForDone();
        QVERIFY(!cached(third.url(), false));
    }
};

LUMISERA_TEST_MAIN(TestImagePipeline)
#include "TestImagePipeline.moc"

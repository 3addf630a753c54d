#include "storage/ImageFromDecodedData.h"

#include "core/Logging.h"
#include "drive/NativePath.h"
#include "security/FileEncryptor.h"
#include "security/SecretWipe.h"
#include "storage/DecodedImageCache.h"
#include "storage/DecryptingReader.h"
#include "storage/ExifThumbnail.h"
#include "storage/HeifThumbnail.h"
#include "storage/ImageDecoder.h"

#include <QDir>
#include <QScopeGuard>
#include <array>
#include <exception>
#include <functional>
#include <sys/stat.h>

namespace {
const QString ImageFunction = QStringLiteral("image(withURL:useThumbnail:cacheOnly:)");

// Cancelled by the caller, or by the lock.
struct Stop
{
    const VaultSession &session;
    const std::atomic_bool *cancelled;

    bool operator()() const { return !session.isOpen() || (cancelled && cancelled->load()); }
};

ImageResult failure(const ImageError &error)
{
    return ImageResult{{}, {}, error};
}

ImageResult decryptFailed()
{
    logError(QStringLiteral("Could not decrypt image"), QStringLiteral(__FILE__), ImageFunction);
    return ImageResult{{}, ImageFromDecodedData::decryptFailedSymbol, std::nullopt};
}

std::optional<QByteArray> readFile(const QUrl &url, ImageError &error)
{
    NativePath::WholeFile file = NativePath::readAll(url, ImageFromDecodedData::maxFileBytes);
    if (file.failure == NativePath::WholeFile::Failure::tooLarge)
        file.reason = QStringLiteral("the file is too large to show");
    if (!file.bytes)
        error = {ImageError::Kind::readFailed, ImageError::fileErrorDomain, int(file.code), file.reason};
    return std::move(file.bytes);
}

std::array<DecodedImageCache *, 3> allCaches()
{
    return {&DecodedImageCache::thumbnails(), &DecodedImageCache::fullSize(), &DecodedImageCache::tiles()};
}

// stampSuffix tells the size class apart where one cache may hold several (the tile edge).
ImageResult cachedOrDecoded(const QUrl &url, DecodedImageCache &cache, const QString &stampSuffix,
                            bool cacheOnly, const Stop &stopped,
                            const std::function<QImage(const QByteArray &)> &decode)
{
    // Nothing of the vault is shown, not even from the cache, once its session has ended.
    if (!stopped.session.isOpen())
        return cacheOnly ? ImageResult{} : failure(ImageError::cancelled());
    const QString key = ImageFromDecodedData::cacheKey(url);
    // Taken before reading: a change while decoding leaves a stamp that no longer matches.
    const QString fileStamp = ImageFromDecodedData::fileStamp(url);
    const QString stamp = fileStamp + stampSuffix;
    if (fileStamp.isEmpty())
        cache.removeObject(key);
    else if (std::optional<QImage> cached = cache.object(key, stamp))
        return ImageResult{*cached, {}, std::nullopt};
    if (cacheOnly)
        return {};
    if (stopped())
        return failure(ImageError::cancelled());
    // Taken before the key: a lock from here on keeps the picture out of the cache.
    const quint64 clearCount = cache.clearCount();

    QImage decoded;
    {
        ImageError readError;
        std::optional<QByteArray> encrypted = readFile(url, readError);
        if (!encrypted)
            return failure(readError);
        if (encrypted->isEmpty())
            return failure(ImageError::fileIsEmpty());
        if (stopped())
            return failure(ImageError::cancelled());

        const std::optional<QString> passcode = stopped.session.key();
        if (!passcode)
            return failure(ImageError::cancelled());
        std::optional<QByteArray> plain = FileEncryptor::decrypt(*encrypted, *passcode);
        encrypted.reset();
        if (!plain)
            return decryptFailed();
        if (stopped())
            return failure(ImageError::cancelled());

        decoded = decode(*plain);
    } // the decrypted bytes go here
    if (decoded.isNull())
        return failure(ImageError::uiImageFailed());
    if (stopped())
        return failure(ImageError::cancelled());

    if (!fileStamp.isEmpty())
        cache.setObject(key, decoded, stamp, clearCount);
    return ImageResult{decoded, {}, std::nullopt};
}

// Enough for the EXIF segment of nearly every camera's photo: a preview and the tags before it.
constexpr qint64 firstPrefixBytes = 64 * 1024;

// The embedded preview's JPEG bytes found in the decrypted start of the file, read further only
// as far as the EXIF segment reaches.
ExifThumbnail embeddedPreview(DecryptingReader &file, const Stop &stopped)
{
    const std::optional<qint64> size = file.plainSize();
    qint64 length = firstPrefixBytes;
    for (int attempt = 0; size && attempt < 4 && !stopped(); ++attempt) {
        std::optional<QByteArray> plain = file.read(0, qMin(length, *size));
        if (!plain)
            return {};
        const auto wipe = qScopeGuard([&plain] { wipeSecret(*plain); });
        ExifThumbnail found = ExifThumbnail::find(*plain);
        // The file ends before the segment does, or it asks for no more than was read: no preview.
        if (found.status != ExifThumbnail::Status::needMore || plain->size() >= *size ||
            found.neededBytes <= plain->size())
            return found.status == ExifThumbnail::Status::found ? found : ExifThumbnail{};
        length = found.neededBytes;
    }
    return {};
}

// The picture shrunk to fit an edge × edge square; a smaller one as it is.
QImage shrunkTo(const QImage &image, int edge)
{
    if (qMax(image.width(), image.height()) <= edge)
        return image;
    return image.scaled(ImageDecoder::fittedSize(image.size(), edge), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

ImageResult guarded(const QUrl &url, DecodedImageCache &cache, const QString &stampSuffix, bool cacheOnly,
                    const Stop &stopped, const std::function<QImage(const QByteArray &)> &decode)
{
    try {
        return cachedOrDecoded(url, cache, stampSuffix, cacheOnly, stopped, decode);
    } catch (const std::exception &error) { // out of memory, mostly
        errorMsg(QStringLiteral("Caught error ") + QString::fromLocal8Bit(error.what()));
        return failure(ImageError::uiImageFailed());
    }
}
} // namespace

QString ImageError::localizedDescription() const
{
    if (kind == Kind::readFailed)
        return QStringLiteral("The file couldn’t be read: %1 (%2 error %3.)").arg(reason, domain).arg(code);
    return QStringLiteral("The operation couldn’t be completed. (%1 error %2.)").arg(domain).arg(code);
}

QString ImageFromDecodedData::cacheKey(const QUrl &url)
{
    return url.toString(QUrl::FullyEncoded);
}

QString ImageFromDecodedData::fileStamp(const QUrl &url)
{
    struct stat status
    {
    };
    if (::stat(NativePath::fromUrl(url).constData(), &status) != 0)
        return {};
    return QStringLiteral("%1:%2.%3:%4")
        .arg(qint64(status.st_size))
        .arg(qint64(status.st_mtim.tv_sec))
        .arg(qint64(status.st_mtim.tv_nsec))
        .arg(quint64(status.st_ino));
}

void ImageFromDecodedData::forget(const QUrl &url)
{
    for (DecodedImageCache *cache : allCaches())
        cache->removeObject(cacheKey(url));
}

void ImageFromDecodedData::forgetFolder(const QString &folderPath)
{
    const QString prefix = cacheKey(QUrl::fromLocalFile(QDir::cleanPath(folderPath) + QLatin1Char('/')));
    for (DecodedImageCache *cache : allCaches())
        cache->removeObjectsWithPrefix(prefix);
}

void ImageFromDecodedData::forgetAll()
{
    for (DecodedImageCache *cache : allCaches())
        cache->removeAllObjects();
}

ImageResult ImageFromDecodedData::image(const QUrl &url, const VaultSession &session, bool useThumbnail,
                                        bool cacheOnly, const std::atomic_bool *cancelled)
{
    const Stop stopped{session, cancelled};
    if (useThumbnail)
        return guarded(
            url, DecodedImageCache::thumbnails(), {}, cacheOnly, stopped,
            [](const QByteArray &plain) { return ImageDecoder::decodeFitted(plain, thumbnailEdge); });
    return guarded(url, DecodedImageCache::fullSize(), {}, cacheOnly, stopped, &ImageDecoder::decode);
}

ImageResult ImageFromDecodedData::tile(const QUrl &url, const VaultSession &session, int pixelEdge,
                                       bool cacheOnly, const std::atomic_bool *cancelled)
{
    return guarded(url, DecodedImageCache::tiles(), QStringLiteral("@%1").arg(pixelEdge), cacheOnly,
                   {session, cancelled}, [pixelEdge](const QByteArray &plain) {
                       return ImageDecoder::decodeShrunk(plain, pixelEdge);
                   });
}

ImageResult ImageFromDecodedData::tilePreview(const QUrl &url, const VaultSession &session, int pixelEdge,
                                              const std::atomic_bool *cancelled)
{
    const Stop stopped{session, cancelled};
    if (stopped())
        return failure(ImageError::cancelled());
    try {
        const UniqueFd fd = NativePath::openListed(NativePath::fromUrl(url));
        const std::optional<QString> passcode = session.key();
        if (!passcode)
            return failure(ImageError::cancelled());
        // One reader for both kinds: the HEIC box headers lie in the start a JPEG look already read.
        DecryptingReader file(fd.get(), *passcode);
        ExifThumbnail preview = embeddedPreview(file, stopped);
        const auto wipe = qScopeGuard([&preview] { wipeSecret(preview.jpeg); });
        if (preview.status != ExifThumbnail::Status::found) {
            if (stopped())
                return {};
            // Not a JPEG's: a HEIC file keeps its thumbnail as an image of its own.
            // libheif holds the photo's coded bytes while it looks: no more than a decode would.
            if (file.plainSize().value_or(0) > maxFileBytes)
                return {};
            const QImage thumbnail = HeifThumbnail::read(file);
            if (thumbnail.isNull() || stopped())
                return {};
            return ImageResult{shrunkTo(thumbnail, pixelEdge), {}, std::nullopt};
        }
        if (stopped())
            return {};
        const QImage image = ImageDecoder::decodeShrunk(preview.jpeg, pixelEdge);
        if (image.isNull() || stopped())
            return {};
        return ImageResult{ExifThumbnail::upright(image, preview.orientation), {}, std::nullopt};
    } catch (const std::exception &) { // unreadable: the tile's own decode says why
        return {};
    }
}

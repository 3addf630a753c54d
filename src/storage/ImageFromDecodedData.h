#pragma once

#include <QImage>
#include <QString>
#include <QUrl>

#include "security/VaultSession.h"
#include <atomic>
#include <optional>

// Why a picture could not be made. The two domains of the pipeline's own failures are
// "File is empty" and "uiImage failed" (code 0); a read error keeps the file's own error.
struct ImageError
{
    enum class Kind { readFailed, fileIsEmpty, uiImageFailed, cancelled };

    static inline const QString fileIsEmptyDomain = QStringLiteral("File is empty");
    static inline const QString uiImageFailedDomain = QStringLiteral("uiImage failed");
    static inline const QString fileErrorDomain = QStringLiteral("QFileDevice");
    static inline const QString cancellationDomain = QStringLiteral("Cancellation");

    Kind kind = Kind::readFailed;
    QString domain;
    int code = 0;
    QString reason; // the file error's text, for read errors

    static ImageError fileIsEmpty() { return {Kind::fileIsEmpty, fileIsEmptyDomain, 0, {}}; }
    static ImageError uiImageFailed() { return {Kind::uiImageFailed, uiImageFailedDomain, 0, {}}; }
    static ImageError cancelled() { return {Kind::cancelled, cancellationDomain, 0, {}}; }

    // What follows "Caught error " in the log.
    QString localizedDescription() const;
};

// What the pipeline answers: a picture, the "x.circle" symbol when the file cannot be decrypted,
// nothing (a cache-only miss), or an error.
struct ImageResult
{
    QImage image;
    QString systemSymbol;
    std::optional<ImageError> error;

    bool isNothing() const { return image.isNull() && systemSymbol.isEmpty() && !error; }
};

// Encrypted picture file → decoded picture in memory, through the two shared
// DecodedImageCaches. Decrypted bytes never leave memory and are dropped when a call returns.
class ImageFromDecodedData
{
public:
    ImageFromDecodedData() = delete;

    // Thumbnails fit a square of this many pixels; smaller pictures are scaled up.
    static constexpr int thumbnailEdge = 2800;
    // Larger files are refused as unreadable rather than read whole into memory.
    static constexpr qint64 maxFileBytes = qint64(512) * 1024 * 1024;
    static inline const QString decryptFailedSymbol = QStringLiteral("x.circle");

    // Synchronous: reads, decrypts with the session's key and decodes, then caches the thumbnail
    // or the full-size picture under cacheKey(url). With cacheOnly only the cache is asked.
    // Undecryptable bytes: "x.circle", nothing cached. When *cancelled turns true, or the session
    // ends, the next step boundary answers ImageError::Kind::cancelled and nothing is cached.
    static ImageResult image(const QUrl &url, const VaultSession &session, bool useThumbnail, bool cacheOnly,
                             const std::atomic_bool *cancelled = nullptr);
    // The same for a grid tile: the picture shrunk while decoding to fit pixelEdge (never
    // enlarged), cached in DecodedImageCache::tiles(). Neither the thumbnail nor the full-size
    // picture is made. A tile cached for another edge is a miss.
    static ImageResult tile(const QUrl &url, const VaultSession &session, int pixelEdge, bool cacheOnly,
                            const std::atomic_bool *cancelled = nullptr);
    // The preview a camera embedded in a JPEG (its EXIF thumbnail), upright and shrunk to fit
    // pixelEdge, read by decrypting only the first tens of KiB of the file. Nothing (isNothing())
    // when the file holds none, or none that can be trusted, or cannot be read: the tile's own
    // decode tells why. Never cached.
    static ImageResult tilePreview(const QUrl &url, const VaultSession &session, int pixelEdge,
                                   const std::atomic_bool *cancelled = nullptr);

    // The URL's absolute string.
    static QString cacheKey(const QUrl &url);
    // What identifies the file's present content: its size, modification time and inode. A
    // cached picture is used only while the stamp matches. Empty when the file is gone.
    static QString fileStamp(const QUrl &url);
    // Drops the decoded pictures of a file, or of every file under a folder, deleted by the vault.
    static void forget(const QUrl &url);
    static void forgetFolder(const QString &folderPath);
    // Drops every decoded picture: the vault locked. A decode in progress does not cache its result.
    static void forgetAll();
};

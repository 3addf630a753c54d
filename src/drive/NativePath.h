#pragma once

#include "core/UniqueFd.h"

#include <QByteArray>
#include <QFileDevice>
#include <QUrl>
#include <optional>

// File paths exactly as the file system holds them. Other programs and sync clients may leave
// names that are not UTF-8, and QFile::decodeName() puts U+FFFD in place of such bytes: the
// QString then names no file. A listed item keeps its path as a file URL, which holds those
// bytes percent-encoded (and shows U+FFFD), and every operation on it goes by these bytes.
namespace NativePath {

// QUrl::fromLocalFile() for a path that decodes without loss, so that item ids stay as they were.
QUrl toUrl(const QByteArray &path);
// The bytes of a local file URL made by toUrl() or by QUrl::fromLocalFile().
QByteArray fromUrl(const QUrl &url);

// A whole file read into memory, or why not.
struct WholeFile
{
    enum class Failure { none, open, tooLarge, read };
    std::optional<QByteArray> bytes;
    Failure failure = Failure::none;
    QFileDevice::FileError code = QFileDevice::NoError;
    QString reason;
};
// Reads the file of a URL made by toUrl() by its bytes (see openListed()); one larger than maxBytes
// is refused rather than read.
WholeFile readAll(const QUrl &url, qint64 maxBytes);

// A listed vault file at path, open for reading. Neither the file nor the folder holding it is
// reached through a symbolic link, and only a regular file opens: a link, FIFO or device that a
// sync client put in its place since the listing is refused. Throws FileSystemError.
UniqueFd openListed(const QByteArray &path);

} // namespace NativePath

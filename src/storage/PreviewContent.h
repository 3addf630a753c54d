#pragma once

#include <QString>

class QMimeType;

// How the previewer shows a decrypted file, worked out off the main thread: its kind, type and
// size, and for the text kinds the text itself, up to a limit.
struct PreviewContent
{
    enum class Kind { text, code, markdown, media, other };

    // What the window lays out in about a tenth of a second or so; more makes it stall.
    struct Limits
    {
        qint64 text = qint64(2) * 1024 * 1024; // bytes shown
        qint64 markdown = 256 * 1024;          // larger Markdown is shown as its source
        qsizetype line = 1000;                 // longer lines are not wrapped
    };

    Kind kind = Kind::other;
    QString mimeType;
    QString typeName; // the type as the desktop describes it
    qint64 size = 0;
    QString text;
    bool truncated = false; // text holds the first Limits::text bytes only
    bool longLines = false;

    // By the name and the first bytes; text that cannot be read makes the kind other.
    // Synchronous: run it on the storage pool.
    static PreviewContent read(const QString &path, const Limits &limits);
    static PreviewContent read(const QString &path) { return read(path, Limits()); }
    static Kind kindOf(const QMimeType &type);
    // Bytes that are not UTF-8 (nor marked as another encoding) are read as Latin-1. cut: the
    // bytes end where the limit fell, perhaps inside a character.
    static QString decode(const QByteArray &bytes, bool cut);
};

#include "storage/PreviewContent.h"

#include <QFile>
#include <QMimeDatabase>
#include <QStringDecoder>

namespace {
bool isText(PreviewContent::Kind kind)
{
    return kind == PreviewContent::Kind::text || kind == PreviewContent::Kind::code ||
           kind == PreviewContent::Kind::markdown;
}

// Up to the last whole UTF-8 character.
QByteArray wholeCharacters(const QByteArray &bytes)
{
    qsizetype lead = bytes.size();
    while (lead > 0 && bytes.size() - lead < 4 && (uchar(bytes.at(lead - 1)) & 0xC0) == 0x80)
        --lead;
    if (lead == 0)
        return bytes;
    --lead;
    const uchar first = uchar(bytes.at(lead));
    const qsizetype length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return bytes.size() - lead < length ? bytes.left(lead) : bytes;
}

qsizetype longestLine(const QString &text)
{
    qsizetype longest = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        longest = qMax(longest, end - start);
        start = end + 1;
    }
    return longest;
}
} // namespace

PreviewContent PreviewContent::read(const QString &path, const Limits &limits)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    PreviewContent content;
    content.kind = kindOf(type);
    content.mimeType = type.name();
    content.typeName = type.comment();
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    content.size = file.size();
    if (!isText(content.kind))
        return content;
    const QByteArray bytes = opened ? file.read(limits.text) : QByteArray();
    if (!opened || bytes.size() < qMin(limits.text, content.size)) {
        content.kind = Kind::other;
        return content;
    }
    if (content.kind == Kind::markdown && content.size > limits.markdown)
        content.kind = Kind::code;
    content.truncated = content.size > limits.text;
    content.text = decode(bytes, content.truncated);
    content.longLines = longestLine(content.text) > limits.line;
    return content;
}

PreviewContent::Kind PreviewContent::kindOf(const QMimeType &type)
{
    const QString name = type.name();
    if (name.startsWith(QStringLiteral("audio/")) || name.startsWith(QStringLiteral("video/")) ||
        name == QStringLiteral("application/ogg"))
        return Kind::media;
    if (type.inherits(QStringLiteral("text/markdown")))
        return Kind::markdown;
    if (name == QStringLiteral("text/plain"))
        return Kind::text;
    // Source code, scripts, data files: text, but laid out in columns.
    if (type.inherits(QStringLiteral("text/plain")))
        return Kind::code;
    return Kind::other;
}

QString PreviewContent::decode(const QByteArray &bytes, bool cut)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    const QStringConverter::Encoding encoding = marked.value_or(QStringConverter::Utf8);
    const QByteArray whole = cut && encoding == QStringConverter::Utf8 ? wholeCharacters(bytes) : bytes;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(whole);
    return decoder.hasError() ? QString::fromLatin1(bytes) : text;
}

#include "ui/preview/TextPreview.h"

#include "storage/PreviewContent.h"
#include "ui/preview/MarkdownBrowser.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
QString dataSize(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}
} // namespace

TextPreview::TextPreview(const PreviewContent &content, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("textPreview"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (content.truncated) {
        auto *note = new QLabel(tr("Showing the first %1 of %2.")
                                    .arg(dataSize(PreviewContent::Limits().text), dataSize(content.size)));
        note->setObjectName(QStringLiteral("truncationNote"));
        note->setForegroundRole(QPalette::PlaceholderText);
        note->setContentsMargins(12, 6, 12, 6);
        layout->addWidget(note);
    }
    QWidget *text = makeText(content);
    layout->addWidget(text, 1);
    setFocusProxy(text);
}

QWidget *TextPreview::makeText(const PreviewContent &content)
{
    if (content.kind == PreviewContent::Kind::markdown)
        return new MarkdownBrowser(content.text);
    auto *text = new QPlainTextEdit;
    text->setObjectName(QStringLiteral("plainTextView"));
    text->setAccessibleName(tr("Text"));
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    const bool code = content.kind == PreviewContent::Kind::code;
    if (code)
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Wrapping a very long line takes the window seconds.
    if (code || content.longLines)
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setPlainText(content.text);
    text->document()->setDocumentMargin(16);
    return text;
}

#include "ui/main/DailyMessage.h"

#include <QApplication>
#include <QLabel>
#include <QTextLayout>
#include <QVBoxLayout>

namespace {

constexpr int maximumQuoteLines = 8;

// The quote a first start shows before any was fetched is Lumisera's own, so it is translated;
// fetched quotes are shown as the service wrote them.
const char *const builtInQuote =
    QT_TRANSLATE_NOOP("DailyMessage", "Live for today, tomorrow is not a given.");
const char *const builtInAuthor = QT_TRANSLATE_NOOP("DailyMessage", "Unknown Author");

QString shown(const QString &text, const char *builtIn)
{
    return text == QLatin1String(builtIn) ? DailyMessage::tr(builtIn) : text;
}

// The text as it fits in `lines` lines of `width`, its last line ending in an ellipsis when cut.
QString fitted(const QString &text, const QFont &font, int width, int lines)
{
    if (width <= 0)
        return text;
    QTextLayout layout(text, font);
    layout.beginLayout();
    QString result;
    for (int line = 0; line < lines; ++line) {
        QTextLine textLine = layout.createLine();
        if (!textLine.isValid()) {
            layout.endLayout();
            return text;
        }
        textLine.setLineWidth(width);
        const QString part = text.mid(textLine.textStart(), textLine.textLength());
        if (line == lines - 1 && textLine.textStart() + textLine.textLength() < text.size()) {
            result += QFontMetrics(font).elidedText(text.mid(textLine.textStart()).simplified(),
                                                    Qt::ElideRight, width);
            break;
        }
        result += part;
    }
    layout.endLayout();
    return result;
}

QFont italic(QFont font)
{
    font.setItalic(true);
    return font;
}

} // namespace

DailyMessage::DailyMessage(const ComposedDailyQuote &composedItem, Size size, const QFont &largeFont,
                           const QFont &attributionFont, QWidget *parent)
    : QWidget(parent), m_composedItem(composedItem), m_quote(new QLabel(this)), m_author(new QLabel(this))
{
    const QFont base = QApplication::font();
    QFont subheadline = base;
    subheadline.setPointSizeF(base.pointSizeF() * 0.95);
    QFont caption = base;
    caption.setPointSizeF(base.pointSizeF() * 0.85);
    m_quote->setObjectName(QStringLiteral("quoteText"));
    m_author->setObjectName(QStringLiteral("quoteAuthor"));
    m_quote->setFont(italic(size == Size::small ? subheadline : largeFont));
    m_author->setFont(italic(size == Size::small ? caption : attributionFont));
    m_quote->setTextFormat(Qt::PlainText);
    m_author->setTextFormat(Qt::PlainText);
    m_quote->setWordWrap(true);
    m_author->setWordWrap(true);
    m_quote->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    m_author->setAlignment(Qt::AlignLeading | Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, size == Size::small ? 8 : 80, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_quote);
    layout->addWidget(m_author);
    layOut();
}

void DailyMessage::setComposedItem(const ComposedDailyQuote &composedItem)
{
    m_composedItem = composedItem;
    layOut();
}

QString DailyMessage::shownQuote() const
{
    return m_quote->text();
}

void DailyMessage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void DailyMessage::layOut()
{
    const QString quote = shown(m_composedItem.q, builtInQuote);
    const QString author = shown(m_composedItem.a, builtInAuthor);
    m_quote->setText(fitted(quote, m_quote->font(), m_quote->width(), maximumQuoteLines));
    m_author->setText(author);
    setAccessibleName(quote + QStringLiteral(" — ") + author);
}

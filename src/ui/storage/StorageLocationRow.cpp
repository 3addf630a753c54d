#include "ui/storage/StorageLocationRow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStyleOption>
#include <QStylePainter>
#include <QVBoxLayout>

namespace {

constexpr int arrowWidth = 16;

} // namespace

StorageLocationRow::StorageLocationRow(const QString &label, const QString &caption, QWidget *parent)
    : QAbstractButton(parent), m_label(new QLabel(label)), m_caption(new QLabel(caption))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont labelFont = m_label->font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 1.1);
    m_label->setFont(labelFont);
    m_caption->setWordWrap(true);
    m_caption->setForegroundRole(QPalette::PlaceholderText);
    for (QLabel *text : {m_label, m_caption})
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
    setLabel(label);
    setAccessibleDescription(caption);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12 + arrowWidth, 8);
    layout->setSpacing(2);
    layout->addWidget(m_label);
    layout->addWidget(m_caption);
}

void StorageLocationRow::setLabel(const QString &label)
{
    m_label->setText(label);
    // The button's own text is what screen readers announce.
    setText(label);
}

QString StorageLocationRow::caption() const
{
    return m_caption->text();
}

QSize StorageLocationRow::sizeHint() const
{
    return layout() ? layout()->sizeHint() : QAbstractButton::sizeHint();
}

void StorageLocationRow::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    if (isDown())
        option.state |= QStyle::State_Sunken;
    if (isEnabled() && (underMouse() || isDown())) {
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(isDown() ? 70 : 35);
        painter.fillRect(rect(), tint);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    if (isEnabled()) {
        option.rect = QRect(width() - arrowWidth - 8, 0, arrowWidth, height());
        painter.drawPrimitive(QStyle::PE_IndicatorArrowRight, option);
    }
}

void StorageLocationRow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

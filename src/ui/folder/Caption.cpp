#include "ui/folder/Caption.h"

#include <QResizeEvent>

Caption::Caption(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeading | Qt::AlignTop);
    QFont smaller = font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.9);
    setFont(smaller);
}

void Caption::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    const int needed = heightForWidth(width());
    if (needed > 0 && minimumHeight() != needed)
        setMinimumHeight(needed);
}

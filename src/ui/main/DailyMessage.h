#pragma once

#include "core/ComposedDailyQuote.h"

#include <QFont>
#include <QWidget>

class QLabel;

// A quote with its author, both in italics and shown verbatim; a quote too long for its room is
// cut at its end with an ellipsis.
class DailyMessage : public QWidget
{
    Q_OBJECT
public:
    enum class Size { large, small };
    Q_ENUM(Size)

    DailyMessage(const ComposedDailyQuote &composedItem, Size size, const QFont &largeFont,
                 const QFont &attributionFont, QWidget *parent = nullptr);

    void setComposedItem(const ComposedDailyQuote &composedItem);
    ComposedDailyQuote composedItem() const { return m_composedItem; }
    // The quote as it is drawn, after any cut.
    QString shownQuote() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOut();

    ComposedDailyQuote m_composedItem;
    QLabel *m_quote;
    QLabel *m_author;
};

#pragma once

#include "core/ComposedDailyQuote.h"

#include <QWidget>

class DailyMessage;

// The quote of the day as the main screen's one big control: a press (click, Space, Return) asks
// for another quote, a press held for a second goes on into the vault. To a screen reader it is a
// button named by the quote whose description says what a press and a hold do, in words that
// give nothing away; nothing of that is drawn.
class QuoteArea : public QWidget
{
    Q_OBJECT
public:
    QuoteArea(const ComposedDailyQuote &composedItem, const QFont &quoteFont, const QFont &authorFont,
              QWidget *parent = nullptr);

    DailyMessage *message() const { return m_message; }
    void setComposedItem(const ComposedDailyQuote &composedItem);
    // The quote and its author, as a screen reader reads the button.
    QString spokenQuote() const;
    static QString pressDescription();

    // What a press and a hold do, for assistive technologies' actions.
    void press() { Q_EMIT tapped(); }
    void hold() { Q_EMIT longPressed(); }

Q_SIGNALS:
    void tapped();
    void longPressed();

private:
    DailyMessage *m_message;
};

#include "ui/main/QuoteArea.h"

#include "ui/main/DailyMessage.h"
#include "ui/main/PressGesture.h"

#include <QAccessibleWidget>
#include <QVBoxLayout>

namespace {

const QString holdAction = QStringLiteral("Hold");

// A button without children: the labels inside would only say the quote a second time.
class QuoteAreaInterface : public QAccessibleWidget
{
public:
    explicit QuoteAreaInterface(QuoteArea *area) : QAccessibleWidget(area, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return area()->spokenQuote();
        case QAccessible::Description:
            return QuoteArea::pressDescription();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QStringList actionNames() const override { return {pressAction(), holdAction}; }
    QString localizedActionDescription(const QString &name) const override
    {
        return name == holdAction ? QuoteArea::tr("Hold to continue") : QuoteArea::tr("Next quote");
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            area()->press();
        else if (name == holdAction)
            area()->hold();
    }

private:
    QuoteArea *area() const { return static_cast<QuoteArea *>(widget()); }
};

QAccessibleInterface *quoteAreaFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QuoteArea") && object && object->isWidgetType())
        return new QuoteAreaInterface(static_cast<QuoteArea *>(object));
    return nullptr;
}

} // namespace

QuoteArea::QuoteArea(const ComposedDailyQuote &composedItem, const QFont &quoteFont, const QFont &authorFont,
                     QWidget *parent)
    : QWidget(parent),
      m_message(new DailyMessage(composedItem, DailyMessage::Size::large, quoteFont, authorFont, this))
{
    QAccessible::installFactory(&quoteAreaFactory);
    setObjectName(QStringLiteral("quoteArea"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Tap for another quote"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_message);
    auto *gesture = new PressGesture(this);
    connect(gesture, &PressGesture::tapped, this, &QuoteArea::tapped);
    connect(gesture, &PressGesture::longPressed, this, &QuoteArea::longPressed);
}

void QuoteArea::setComposedItem(const ComposedDailyQuote &composedItem)
{
    m_message->setComposedItem(composedItem);
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

QString QuoteArea::spokenQuote() const
{
    return m_message->accessibleName();
}

QString QuoteArea::pressDescription()
{
    return tr("Press for the next quote, hold to continue");
}

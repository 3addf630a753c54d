#include "ItemPlaceholderView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ItemPlaceholderView::ItemPlaceholderView(const QString &name, QWidget *parent) : Screen(parent)
{
    setObjectName(QStringLiteral("itemPlaceholderView"));
    setTitle(name);
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    auto *label = new QLabel(name);
    label->setObjectName(QStringLiteral("itemName"));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont big = label->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    label->setFont(big);
    auto *close = new QPushButton(tr("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &Screen::dismissRequested);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(label);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    layout->addStretch();
    setFocusProxy(close);
}

void ItemPlaceholderView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT dismissRequested();
        return;
    }
    Screen::keyPressEvent(event);
}

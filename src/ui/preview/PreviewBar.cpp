#include "ui/preview/PreviewBar.h"

#include "ui/common/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

PreviewBar::PreviewBar(const QString &title, const QString &itemName, QWidget *parent)
    : QWidget(parent), m_close(new QPushButton(tr("Close"))), m_share(new QToolButton)
{
    setObjectName(QStringLiteral("previewBar"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_share->setObjectName(QStringLiteral("shareButton"));
    m_share->setIcon(Symbols::icon(QStringLiteral("square.and.arrow.up")));
    m_share->setAutoRaise(true);
    m_share->setToolTip(tr("Share"));
    m_share->setAccessibleName(tr("Share"));
    connect(m_close, &QPushButton::clicked, this, &PreviewBar::closeClicked);
    connect(m_share, &QToolButton::clicked, this, &PreviewBar::shareClicked);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->addWidget(m_close);
    row->addWidget(makeTitle(title, itemName), 1);
    // The title stays centred between buttons of different widths.
    row->addSpacing(qMax(0, m_close->sizeHint().width() - m_share->sizeHint().width()));
    row->addWidget(m_share);
}

QWidget *PreviewBar::makeTitle(const QString &title, const QString &itemName)
{
    auto *heading = new QLabel(title);
    heading->setObjectName(QStringLiteral("previewTitle"));
    heading->setTextFormat(Qt::PlainText);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    heading->setFont(bold);
    auto *name = new QLabel(itemName);
    name->setObjectName(QStringLiteral("previewItemTitle"));
    name->setTextFormat(Qt::PlainText);
    name->setAlignment(Qt::AlignCenter);
    name->setForegroundRole(QPalette::PlaceholderText);
    // A long name must not widen the window.
    name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    name->setToolTip(itemName);
    name->setVisible(!itemName.isEmpty() && itemName != title);
    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    layout->addWidget(name);
    return column;
}

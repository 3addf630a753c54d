#include "ui/preview/DocumentInfoView.h"

#include "storage/PreviewContent.h"

#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int iconEdge = 96;

QIcon iconFor(const QString &mimeTypeName, const QStyle *style)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeTypeName);
    const QIcon fallback = style->standardIcon(QStyle::SP_FileIcon);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
}

QLabel *centredLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}
} // namespace

DocumentInfoView::DocumentInfoView(const QString &name, const PreviewContent &content, QWidget *parent)
    : QWidget(parent), m_status(centredLabel({})),
      m_open(new QPushButton(tr("Open with Default Application")))
{
    setObjectName(QStringLiteral("documentInfoView"));
    auto *icon = new QLabel;
    icon->setPixmap(iconFor(content.mimeType, style()).pixmap(iconEdge, iconEdge));
    icon->setAlignment(Qt::AlignCenter);
    auto *title = centredLabel(name);
    title->setObjectName(QStringLiteral("documentName"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    const QString size = QLocale().formattedDataSize(content.size, 1, QLocale::DataSizeSIFormat);
    auto *details = centredLabel(tr("%1 · %2").arg(size, content.typeName));
    details->setObjectName(QStringLiteral("documentDetails"));
    details->setForegroundRole(QPalette::PlaceholderText);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setForegroundRole(QPalette::PlaceholderText);
    m_open->setObjectName(QStringLiteral("openButton"));
    m_open->setDefault(true);
    connect(m_open, &QPushButton::clicked, this, &DocumentInfoView::openRequested);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addStretch();
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(details);
    layout->addSpacing(8);
    layout->addWidget(m_open, 0, Qt::AlignHCenter);
    layout->addWidget(m_status);
    layout->addStretch();
    setFocusProxy(m_open);
}

void DocumentInfoView::setStatus(const QString &text)
{
    m_status->setText(text);
}

void DocumentInfoView::setBusy(bool busy)
{
    m_open->setEnabled(!busy);
}

#include "ui/storage/StorageTip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int iconSize = 32;

QLabel *makeIcon()
{
    const QPixmap picture(QStringLiteral(":/pictures/tipIcon.png"));
    if (picture.isNull())
        return nullptr;
    auto *icon = new QLabel;
    icon->setObjectName(QStringLiteral("storageTipIcon"));
    icon->setPixmap(picture.scaled(iconSize, iconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignTop);
    return icon;
}

} // namespace

StorageTip::StorageTip(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("storageTip"));
    setFrameShape(QFrame::StyledPanel);
    auto *heading = new QLabel(title());
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *text = new QLabel(message().trimmed());
    text->setObjectName(QStringLiteral("storageTipMessage"));
    text->setWordWrap(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(heading);
    texts->addWidget(text);
    auto *layout = new QHBoxLayout(this);
    if (QLabel *icon = makeIcon())
        layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
}

QString StorageTip::title()
{
    return tr("Folders and Files");
}

QString StorageTip::message()
{
    return tr(
        "Folders created on-device have contents that will only be available on this device and will be "
        "included in device backups.\n\nFolders created in the cloud tree are available on every device "
        "whose sync client keeps this folder in sync, using the same passcode. ");
}

#include "ui/folder/FolderTip.h"

#include "core/TipStore.h"
#include "ui/common/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

FolderTip::FolderTip(const QString &name, const QString &title, const QString &message, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto *icon = new QLabel;
    icon->setPixmap(Symbols::bundledPicture(QStringLiteral(":/pictures/tipIcon.png"))
                        .scaled(28, 28, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    if (!title.isEmpty()) {
        auto *heading = new QLabel(title);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        texts->addWidget(heading);
    }
    auto *text = new QLabel(message);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    texts->addWidget(text);
    auto *close = new QToolButton;
    close->setObjectName(QStringLiteral("closeTip"));
    close->setIcon(Symbols::icon(QStringLiteral("xmark.circle.fill")));
    close->setAutoRaise(true);
    close->setToolTip(tr("Close Tip"));
    close->setAccessibleName(tr("Close Tip"));
    connect(close, &QToolButton::clicked, this, [this] {
        TipStore::dismiss(objectName());
        hide();
        deleteLater();
    });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 4, 6);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    layout->addWidget(close, 0, Qt::AlignTop);
}

bool FolderTip::isDismissed(const QString &name)
{
    return TipStore::isDismissed(name);
}

FolderTip *FolderTip::firstShown(bool rootListing)
{
    using Tip = std::pair<QString, FolderTip *(*)()>;
    const QList<Tip> tips = rootListing ? QList<Tip>{{QStringLiteral("ToolbarTips"), &toolbarTips},
                                                     {QStringLiteral("ImportTip"), &importTip}}
                                        : QList<Tip>{{QStringLiteral("ToolbarTips2"), &toolbarTips2},
                                                     {QStringLiteral("SubFolderTip"), &subFolderTip},
                                                     {QStringLiteral("ImportTip"), &importTip}};
    for (const auto &[name, make] : tips) {
        if (!isDismissed(name))
            return make();
    }
    return nullptr;
}

FolderTip *FolderTip::toolbarTips()
{
    return new FolderTip(QStringLiteral("ToolbarTips"), tr("Actions"),
                         tr("From this view you can create folders, take pictures privately in the app and "
                            "import from your files. You can also select to delete or share items."));
}

FolderTip *FolderTip::toolbarTips2()
{
    return new FolderTip(QStringLiteral("ToolbarTips2"), tr("Actions"),
                         tr("From this view you can delete the current folder. You can also take pictures "
                            "privately in the app and import from your files. You can also select to delete "
                            "or share items."));
}

FolderTip *FolderTip::subFolderTip()
{
    return new FolderTip(
        QStringLiteral("SubFolderTip"), tr("Gestures"),
        tr("Tap an item to open; double tap opened image to zoom. Double tap or swipe up on a "
           "zoomed image to return to scrolling view. Horizontal scrolling only includes "
           "photos, not folders or other file types."));
}

FolderTip *FolderTip::emptyFolderTip()
{
    return new FolderTip(QStringLiteral("EmptyFolderTip"), tr("Empty Folder"),
                         tr("Create a folder, import files from your files, or take a picture with the "
                            "embedded camera feature."));
}

FolderTip *FolderTip::importTip()
{
    return new FolderTip(QStringLiteral("ImportTip"), tr("Import"),
                         tr("Images can be imported from your files; they will be copied and encrypted into "
                            "the current folder.\n\nCopied source files are not modified."));
}

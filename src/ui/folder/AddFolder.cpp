#include "ui/folder/AddFolder.h"

#include "ui/common/Symbols.h"

namespace {

constexpr int pictureSize = 96;

} // namespace

AddFolder::AddFolder(double insetAdjustment, QWidget *parent)
    : QToolButton(parent), m_insetAdjustment(insetAdjustment)
{
    setObjectName(QStringLiteral("addFolderButton"));
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIcon(QIcon(Symbols::bundledPicture(QStringLiteral(":/pictures/newFolder.png"))));
    setIconSize(QSize(pictureSize, pictureSize));
    setText(tr("Tap to Add Folder"));
    setAccessibleName(text());
    connect(this, &QToolButton::clicked, this, &AddFolder::presentView);
}

#include "ui/folder/FolderToolbar.h"

#include "ui/common/Symbols.h"
#include "ui/folder/OKCancelAlert.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

// A symbol painted in one colour, for the menu entries the folder screen colours.
QIcon tinted(const QString &symbol, const QColor &color)
{
    const QPixmap source = Symbols::icon(symbol).pixmap(32, 32);
    if (!color.isValid() || source.isNull())
        return Symbols::icon(symbol);
    QPixmap painted(source.size());
    painted.setDevicePixelRatio(source.devicePixelRatio());
    painted.fill(Qt::transparent);
    QPainter painter(&painted);
    painter.drawPixmap(0, 0, source);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(painted.rect(), color);
    painter.end();
    return QIcon(painted);
}

QColor green(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128 ? QColor(0x5c, 0xd6, 0x7a)
                                                             : QColor(0x1f, 0x8a, 0x3c);
}

} // namespace

FolderToolbar::FolderToolbar(bool folderAddOk, QWidget *parent)
    : QWidget(parent), m_select(new QPushButton(tr("Select"))),
      m_camera(iconButton(QStringLiteral("camera"), tr("Camera"))),
      m_menuButton(iconButton(QStringLiteral("filemenu.and.selection"), tr("Folder Menu"))),
      m_menu(new QMenu(this)), m_selectedGroup(new QWidget),
      m_share(iconButton(QStringLiteral("square.and.arrow.up"), tr("Share Selected Items"))),
      m_delete(iconButton(QStringLiteral("trash"), tr("Delete Selected Items")))
{
    setObjectName(QStringLiteral("folderToolbar"));
    m_select->setObjectName(QStringLiteral("selectButton"));
    m_select->setFlat(true);
    m_select->setAutoDefault(false);
    m_camera->setObjectName(QStringLiteral("cameraButton"));
    m_menuButton->setObjectName(QStringLiteral("folderMenuButton"));
    m_menuButton->setMenu(m_menu);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menu->setObjectName(QStringLiteral("folderMenu"));
    m_menu->setAccessibleName(m_menuButton->accessibleName());
    m_share->setObjectName(QStringLiteral("shareSelectionButton"));
    m_delete->setObjectName(QStringLiteral("deleteSelectionButton"));
    makeMenu(folderAddOk);

    auto *groupLabel = new QLabel(tr("Selected Items"));
    groupLabel->setObjectName(QStringLiteral("selectedItemsLabel"));
    auto *group = new QHBoxLayout(m_selectedGroup);
    group->setContentsMargins(0, 0, 0, 0);
    group->addWidget(groupLabel);
    group->addWidget(m_share);
    group->addWidget(m_delete);
    m_selectedGroup->setAccessibleName(tr("Selected Items"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_select);
    layout->addStretch(1);
    layout->addWidget(m_selectedGroup);
    layout->addWidget(m_camera);
    layout->addWidget(m_menuButton);

    connect(m_select, &QPushButton::clicked, this, &FolderToolbar::selectToggled);
    connect(m_camera, &QToolButton::clicked, this, &FolderToolbar::cameraRequested);
    connect(m_share, &QToolButton::clicked, this, &FolderToolbar::shareRequested);
    connect(m_delete, &QToolButton::clicked, this, &FolderToolbar::deleteSelectionRequested);
    setSelectionMode(false);
}

QToolButton *FolderToolbar::iconButton(const QString &symbol, const QString &name)
{
    auto *button = new QToolButton;
    button->setIcon(Symbols::icon(symbol));
    button->setIconSize(QSize(22, 22));
    button->setAutoRaise(true);
    button->setToolTip(name);
    button->setAccessibleName(name);
    return button;
}

void FolderToolbar::makeMenu(bool folderAddOk)
{
    // The object name is the English text in every language: tests and the tour find actions by it.
    const auto add = [this](const char *text, const QString &symbol, const QColor &color, auto signal) {
        QAction *action = m_menu->addAction(tinted(symbol, color), tr(text));
        action->setObjectName(QLatin1String(text));
        connect(action, &QAction::triggered, this, signal);
    };
    const QColor none;
    add(QT_TR_NOOP("Reload Folder"), QStringLiteral("arrow.clockwise"), none,
        &FolderToolbar::reloadRequested);
    if (folderAddOk) {
        add(QT_TR_NOOP("Add Folder"), QStringLiteral("folder.badge.plus"), green(palette()),
            &FolderToolbar::addFolderRequested);
    } else {
        add(QT_TR_NOOP("Delete Folder"), QStringLiteral("folder.badge.minus"),
            OKCancelAlert::destructiveColor(palette()), &FolderToolbar::deleteFolderRequested);
        add(QT_TR_NOOP("Modify Folder"), QStringLiteral("folder.badge.gearshape"), none,
            &FolderToolbar::modifyFolderRequested);
    }
    add(QT_TR_NOOP("Import Photos"), QStringLiteral("photo.stack"), none,
        &FolderToolbar::importPhotosRequested);
    add(QT_TR_NOOP("Import Files"), QStringLiteral("square.and.arrow.down"), none,
        &FolderToolbar::importFilesRequested);
}

void FolderToolbar::setSelectionMode(bool on)
{
    m_select->setText(on ? tr("Cancel") : tr("Select"));
    QFont font = m_select->font();
    font.setBold(on);
    m_select->setFont(font);
    m_selectedGroup->setVisible(on);
    m_camera->setVisible(!on);
    m_menuButton->setVisible(!on);
}

void FolderToolbar::setSelectEnabled(bool enabled)
{
    m_select->setEnabled(enabled);
}

void FolderToolbar::setSelectionActionsEnabled(bool enabled)
{
    m_actionsEnabled = enabled;
    paintDelete();
}

void FolderToolbar::paintDelete()
{
    const bool any = m_actionsEnabled;
    m_share->setEnabled(any);
    m_delete->setEnabled(any);
    m_delete->setIcon(any ? tinted(QStringLiteral("trash"), OKCancelAlert::destructiveColor(palette()))
                          : Symbols::icon(QStringLiteral("trash")));
}

void FolderToolbar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        paintDelete();
}

#include "ui/storage/StorageLocationSelectionView.h"

#include "ui/common/FileChooser.h"
#include "ui/storage/StorageLocationRow.h"
#include "ui/storage/StorageLocationState.h"
#include "ui/storage/StorageTip.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

StorageLocationSelectionView::StorageLocationSelectionView(QWidget *parent)
    : Screen(parent), m_state(new StorageLocationState(this)),
      m_localRow(new StorageLocationRow(m_state->rowLabel(StorageLocation::local),
                                        tr("Stored on this device only."))),
      m_cloudRow(new StorageLocationRow(m_state->rowLabel(StorageLocation::cloud),
                                        tr("Files available to all devices that sync this folder"))),
      m_chooseFolderButton(new QPushButton(tr("Choose Synced Folder…")))
{
    setTitle(tr("Storage"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    m_localRow->setObjectName(QStringLiteral("localRow"));
    m_cloudRow->setObjectName(QStringLiteral("cloudRow"));
    m_chooseFolderButton->setObjectName(QStringLiteral("chooseSyncedFolderButton"));
    m_chooseFolderButton->setAutoDefault(false);

    auto *content = new QWidget;
    auto *list = new QVBoxLayout(content);
    list->addWidget(makeHeader());
    list->addWidget(m_localRow);
    list->addWidget(makeCloudRow());
    list->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The rows take the keyboard, not the unnamed area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_localRow);
    scroll->setWidget(content);
    // The window's background picture shows through the list.
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(m_localRow, &QAbstractButton::clicked, m_state,
            [this] { m_state->open(StorageLocation::local); });
    connect(m_cloudRow, &QAbstractButton::clicked, m_state,
            [this] { m_state->open(StorageLocation::cloud); });
    connect(m_chooseFolderButton, &QPushButton::clicked, this,
            &StorageLocationSelectionView::chooseSyncedFolder);
    connect(m_state, &StorageLocationState::treeRequested, this,
            &StorageLocationSelectionView::treeRequested);
    connect(m_state, &StorageLocationState::cloudAvailableChanged, this,
            &StorageLocationSelectionView::showCloudState);
    connect(m_state, &StorageLocationState::linkingChanged, this,
            &StorageLocationSelectionView::showCloudState);
    connect(m_state, &StorageLocationState::linkFailed, this, &StorageLocationSelectionView::showLinkFailure);
    showCloudState();
}

QWidget *StorageLocationSelectionView::makeHeader()
{
    auto *header = new QWidget;
    auto *heading = new QLabel(tr("Folders and Files"));
    heading->setObjectName(QStringLiteral("storageHeading"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(new StorageTip);
    return header;
}

QWidget *StorageLocationSelectionView::makeCloudRow()
{
    auto *row = new QWidget;
    auto *layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_cloudRow);
    layout->addWidget(m_chooseFolderButton, 0, Qt::AlignLeading);
    return row;
}

void StorageLocationSelectionView::showCloudState()
{
    const bool available = m_state->isCloudAvailable();
    m_cloudRow->setLabel(m_state->rowLabel(StorageLocation::cloud));
    m_cloudRow->setEnabled(available);
    m_chooseFolderButton->setVisible(m_state->isCloudChecked() && !available);
    m_chooseFolderButton->setEnabled(!m_state->isLinking());
}

void StorageLocationSelectionView::chooseSyncedFolder()
{
    auto *chooser = new FileChooser(this);
    connect(chooser, &FileChooser::finished, this, [this, chooser](const QStringList &paths) {
        chooser->deleteLater();
        if (!paths.isEmpty())
            m_state->linkSyncedFolder(paths.constFirst());
    });
    chooser->open({.kind = FileChooser::Kind::folder,
                   .title = tr("Choose Synced Folder…"),
                   .folder = QDir::homePath(),
                   .nameFilters = {},
                   .acceptLabel = {},
                   .dialogName = QStringLiteral("syncedFolderDialog")});
}

void StorageLocationSelectionView::showLinkFailure(const QString &reason)
{
    auto *alert =
        new QMessageBox(QMessageBox::Warning, tr("Choose Synced Folder…"), reason, QMessageBox::Ok, this);
    alert->setObjectName(QStringLiteral("linkFailureAlert"));
    alert->setAccessibleDescription(reason);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->open();
}

void StorageLocationSelectionView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    // A sync client may have made or removed the container while the screen was away.
    m_state->refresh();
}

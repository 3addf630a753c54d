#include "ui/storage/StorageLocationState.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "drive/CloudContainerLink.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFuture>
#include <QPointer>

StorageLocationState::StorageLocationState(QObject *parent)
    : QObject(parent),
      m_localRoot(std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, QString())),
      m_cloudRoot(std::make_shared<ItemCollection>(StorageLocation::cloud, FileItemType::all, QString()))
{
    refresh();
}

std::shared_ptr<ItemCollection> StorageLocationState::rootCollection(StorageLocation location) const
{
    return location == StorageLocation::cloud ? m_cloudRoot : m_localRoot;
}

void StorageLocationState::refresh()
{
    const quint64 stamp = ++m_refreshStamp;
    StoragePool::runThen(
        this, [container = AppPaths::cloudContainer()] { return QFileInfo(container).isDir(); },
        [this, stamp](bool available) {
            if (stamp == m_refreshStamp)
                setCloudAvailable(available);
        });
}

void StorageLocationState::setCloudAvailable(bool available)
{
    if (m_cloudChecked && m_cloudAvailable == available)
        return;
    m_cloudChecked = true;
    m_cloudAvailable = available;
    Q_EMIT cloudAvailableChanged();
}

QString StorageLocationState::title(StorageLocation location) const
{
    return location == StorageLocation::cloud ? tr("Cloud") : tr("On Device");
}

QString StorageLocationState::rowLabel(StorageLocation location) const
{
    if (location == StorageLocation::cloud && m_cloudChecked && !m_cloudAvailable)
        return title(location) + tr(" (Disabled) ");
    return title(location);
}

bool StorageLocationState::canOpen(StorageLocation location) const
{
    return location == StorageLocation::local || (location == StorageLocation::cloud && m_cloudAvailable);
}

void StorageLocationState::open(StorageLocation location)
{
    if (canOpen(location))
        Q_EMIT treeRequested(location, title(location));
}

void StorageLocationState::linkSyncedFolder(const QString &folder)
{
    if (m_linking)
        return;
    setLinking(true);
    // A synced folder may sit on a slow or network mount.
    StoragePool::runThen(
        this, [folder] { return CloudContainerLink::create(folder); },
        [this](const QString &reason) { finishLinking(reason); },
        [this] { finishLinking(tr("The synced folder could not be linked.")); });
}

void StorageLocationState::setLinking(bool linking)
{
    if (m_linking == linking)
        return;
    m_linking = linking;
    Q_EMIT linkingChanged();
}

void StorageLocationState::finishLinking(const QString &reason)
{
    setLinking(false);
    refresh();
    if (!reason.isEmpty()) {
        logError(reason, QStringLiteral(__FILE__), QStringLiteral("linkSyncedFolder(_:)"));
        Q_EMIT linkFailed(reason);
    }
}

#include "storage/SelectedItemManager.h"

#include "storage/FileNaming.h"

#include "core/Logging.h"

SelectedItemManager::SelectedItemManager(const QSet<QString> &selectedItemIDs, bool enabled,
                                         const QString &name, QObject *parent)
    : QObject(parent), m_selectedItemIDs(selectedItemIDs), m_enabled(enabled), m_name(name)
{}

void SelectedItemManager::enable()
{
    if (m_enabled)
        return;
    m_enabled = true;
    Q_EMIT enabledChanged();
}

void SelectedItemManager::disable()
{
    if (!m_enabled)
        return;
    m_selectedItemIDs.clear();
    Q_EMIT selectedItemIDsChanged();
    m_enabled = false;
    Q_EMIT enabledChanged();
}

void SelectedItemManager::toggle(const StoredItem &item)
{
    if (!m_enabled) {
        fatalErrorMsg(QStringLiteral("Selection manager inactive: ") + m_name);
        return;
    }
    if (m_selectedItemIDs.remove(item.id())) {
        Q_EMIT selectedItemIDsChanged();
    } else if (item.itemType() == StoredItem::StoredItemType::file) {
        m_selectedItemIDs.insert(item.id());
        Q_EMIT selectedItemIDsChanged();
    }
}

void SelectedItemManager::selectOnly(const StoredItem &item)
{
    if (item.itemType() != StoredItem::StoredItemType::file) {
        fatalErrorMsg(QStringLiteral("skipping folder ") + FileNaming::forLog(item.fullName()) +
                      QLatin1Char('!'));
        return;
    }
    m_selectedItemIDs.clear();
    Q_EMIT selectedItemIDsChanged();
    m_selectedItemIDs.insert(item.id());
    Q_EMIT selectedItemIDsChanged();
}

void SelectedItemManager::selectAll(const QList<StoredItemPtr> &items)
{
    if (!m_enabled)
        return;
    QSet<QString> all;
    for (const StoredItemPtr &item : items) {
        if (item && item->itemType() == StoredItem::StoredItemType::file)
            all.insert(item->id());
    }
    if (all == m_selectedItemIDs)
        return;
    m_selectedItemIDs = all;
    Q_EMIT selectedItemIDsChanged();
}

#pragma once

#include "storage/StoredItem.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

// The multi-selection of files on a folder screen. Folders never enter it. Main thread only.
class SelectedItemManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled NOTIFY enabledChanged)

public:
    // name: the folder collection's cacheKey, for diagnostics.
    SelectedItemManager(const QSet<QString> &selectedItemIDs, bool enabled, const QString &name,
                        QObject *parent = nullptr);

    QSet<QString> selectedItemIDs() const { return m_selectedItemIDs; }
    bool isEnabled() const { return m_enabled; }
    QString name() const { return m_name; }
    bool isSelected(const StoredItem &item) const { return m_selectedItemIDs.contains(item.id()); }

    void enable();
    // Empties the selection and leaves selection mode.
    void disable();
    // Adds or removes a file; only while selection mode is on.
    void toggle(const StoredItem &item);
    // Makes a file the whole selection, in or out of selection mode.
    void selectOnly(const StoredItem &item);
    // Selects every file of items (folders are never selected); only in selection mode.
    void selectAll(const QList<StoredItemPtr> &items);

Q_SIGNALS:
    // Once per change of the set (emptying and inserting are two changes).
    void selectedItemIDsChanged();
    void enabledChanged();

private:
    QSet<QString> m_selectedItemIDs;
    bool m_enabled;
    QString m_name;
};

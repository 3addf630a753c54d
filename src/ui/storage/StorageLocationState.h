#pragma once

#include "storage/StorageLocation.h"

#include <QObject>
#include <QString>
#include <memory>

class ItemCollection;

// The rules of the Storage screen: which trees may be opened, under which names, and linking
// the cloud container to a synced folder. The two trees' root listings live as long as the
// screen, so that going back into a tree shows its folders at once.
class StorageLocationState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool cloudAvailable READ isCloudAvailable NOTIFY cloudAvailableChanged)
    Q_PROPERTY(bool linking READ isLinking NOTIFY linkingChanged)
public:
    explicit StorageLocationState(QObject *parent = nullptr);

    // The cloud container exists and is a folder, as of the last refresh() answered.
    bool isCloudAvailable() const { return m_cloudAvailable; }
    // Whether a refresh has answered yet: until then the cloud row neither opens nor says it is off.
    bool isCloudChecked() const { return m_cloudChecked; }
    // Looks at the container off the main thread: the synced folder may be a slow network mount.
    // The newest refresh wins.
    void refresh();

    // "On Device" or "Cloud": the title of the tree's screen.
    QString title(StorageLocation location) const;
    // The row's label; an unavailable cloud says so.
    QString rowLabel(StorageLocation location) const;
    bool canOpen(StorageLocation location) const;
    // Emits treeRequested when the tree may be opened.
    void open(StorageLocation location);
    // The tree's root listing (its folders).
    std::shared_ptr<ItemCollection> rootCollection(StorageLocation location) const;

    bool isLinking() const { return m_linking; }
    // Makes the cloud container a link to folder, off the main thread.
    void linkSyncedFolder(const QString &folder);

Q_SIGNALS:
    void cloudAvailableChanged();
    void linkingChanged();
    void treeRequested(StorageLocation location, const QString &title);
    void linkFailed(const QString &reason);

private:
    void setCloudAvailable(bool available);
    void setLinking(bool linking);
    void finishLinking(const QString &reason);

    bool m_cloudAvailable = false;
    bool m_cloudChecked = false;
    quint64 m_refreshStamp = 0;
    bool m_linking = false;
    std::shared_ptr<ItemCollection> m_localRoot;
    std::shared_ptr<ItemCollection> m_cloudRoot;
};

#pragma once

#include "storage/StorageLocation.h"
#include "ui/common/Screen.h"

class QPushButton;
class StorageLocationRow;
class StorageLocationState;

// The Storage screen: the on-device and the cloud tree. Opening a row asks the host for the
// tree's screen (treeRequested). Without a cloud container the cloud row is disabled and offers
// to link one to a folder a sync client keeps in sync.
class StorageLocationSelectionView : public Screen
{
    Q_OBJECT
public:
    explicit StorageLocationSelectionView(QWidget *parent = nullptr);

    StorageLocationState *state() const { return m_state; }

Q_SIGNALS:
    void treeRequested(StorageLocation location, const QString &title);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makeHeader();
    QWidget *makeCloudRow();
    void showCloudState();
    void chooseSyncedFolder();
    void showLinkFailure(const QString &reason);

    StorageLocationState *m_state;
    StorageLocationRow *m_localRow;
    StorageLocationRow *m_cloudRow;
    QPushButton *m_chooseFolderButton;
};

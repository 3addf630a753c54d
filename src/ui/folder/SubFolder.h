#pragma once

#include "storage/StorageLocation.h"
#include "ui/folder/FolderView.h"

// A folder of a tree, opened from the folder screen above it: its collection comes from the
// collection cache, its title is the folder's name, and it goes when the application goes to
// the background.
class SubFolder : public FolderView
{
    Q_OBJECT
public:
    SubFolder(const StoredItem &folder, StorageLocation location, VaultSessionPtr session,
              Presenter *presenter, const ScreenPrivacyMonitor *privacy = nullptr, QWidget *parent = nullptr);
};

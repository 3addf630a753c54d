#pragma once

#include "drive/RootRelativePath.h"

#include <QList>

class CloudDrive;

// Told when items under a drive's root change. Called on the drive's monitor thread.
class CloudDriveObserver
{
public:
    virtual ~CloudDriveObserver() = default;
    virtual void cloudDrive(CloudDrive &drive, const QList<RootRelativePath> &didChangeItemsAt) = 0;
};

#pragma once

#include "drive/DriveError.h"

#include <QString>

// Failures of waiting for a cloud item to be downloaded.
class UbiquitousDownloadError : public DriveError
{
public:
    enum class Kind { failedToStart, downloadTimedOut };

    explicit UbiquitousDownloadError(Kind kind);

    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// Waits until the item at path is downloaded, for at most timeout seconds. A sync client on Linux
// keeps whole files in the synced folder (there are no cloud placeholders), so every item is
// already current and this returns at once.
void downloadUbiquitousItem(const QString &path, double timeout);

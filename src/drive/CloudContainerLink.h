#pragma once

#include <QCoreApplication>
#include <QString>

// Sets up the cloud tree on Linux: the cloud container becomes a symbolic link to a folder that
// a sync client keeps in sync. Never replaces a container that exists in any form, and never
// lets the two trees overlap.
class CloudContainerLink
{
    Q_DECLARE_TR_FUNCTIONS(CloudContainerLink)
public:
    CloudContainerLink() = delete;

    // Links the container to folder. Empty on success, otherwise why nothing was made.
    // Synchronous file calls: run it off the main thread.
    static QString create(const QString &folder);
};

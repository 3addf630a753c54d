#pragma once

#include "storage/UpdateEvent.h"

#include <QObject>

// The process-wide relay of drive changes. driveDidChange is emitted on the reporting drive's
// watcher thread: receivers that touch main-thread state connect with a queued connection.
class DriveNotificationCenter : public QObject
{
    Q_OBJECT
public:
    static inline const QString DriveDidChangeNotification = QStringLiteral("driveDidChange");

    static DriveNotificationCenter &shared();

Q_SIGNALS:
    void driveDidChange(const UpdateEvent &event);

private:
    DriveNotificationCenter();
};

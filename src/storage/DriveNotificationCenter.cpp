#include "storage/DriveNotificationCenter.h"

#include <QCoreApplication>

DriveNotificationCenter &DriveNotificationCenter::shared()
{
    static DriveNotificationCenter center;
    return center;
}

DriveNotificationCenter::DriveNotificationCenter()
{
    qRegisterMetaType<UpdateEvent>();
    // Whoever asks first, the centre belongs to the main thread.
    if (QCoreApplication *application = QCoreApplication::instance())
        moveToThread(application->thread());
}

#include "MediaPlugin.h"

#include "QtCameraDevice.h"

#include <QMediaDevices>

std::unique_ptr<CameraDevice> MediaPlugin::openCamera(QString *whyNot)
{
    const QCameraDevice input = QMediaDevices::defaultVideoInput();
    if (input.isNull()) {
        if (whyNot)
            *whyNot = tr("No camera was found.");
        return nullptr;
    }
    return std::make_unique<QtCameraDevice>(input);
}

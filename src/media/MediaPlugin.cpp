#include "media/MediaPlugin.h"

#include "media/QtCameraDevice.h"
#include "media/QtMediaPlayerView.h"
#include "media/QtPdfDocumentView.h"

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

QWidget *MediaPlugin::pdfView(const QByteArray &pdf, QString *whyNot)
{
    return QtPdfDocumentView::open(pdf, whyNot);
}

QWidget *MediaPlugin::mediaPlayer(const QString &path)
{
    return new QtMediaPlayerView(path);
}

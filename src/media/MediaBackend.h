#pragma once

#include "media/CameraDevice.h"

#include <QByteArray>
#include <QtPlugin>
#include <memory>

// What the media module offers the window. Widgets it hands out belong to the caller.
class MediaBackend
{
public:
    virtual ~MediaBackend() = default;

    // The default video input, starting (started or failed follows); nothing, with the reason, when
    // there is no camera.
    virtual std::unique_ptr<CameraDevice> openCamera(QString *whyNot) = 0;
    // The PDF in these bytes, pages one under the other, fitted to the width; nothing, with the
    // reason, when they are not a PDF. The view keeps its own reference to the bytes and
    // overwrites them when it is destroyed, if no one else holds them by then.
    virtual QWidget *pdfView(const QByteArray &pdf, QString *whyNot) = 0;
    // A player of the audio or video file at path with its controls; it plays when asked. Once it
    // is destroyed playback has stopped and the file is no longer open.
    virtual QWidget *mediaPlayer(const QString &path) = 0;
};

// Changed with every change of the interface: a module built for another one is not loaded.
#define MediaBackend_iid "com.morvenda.Lumisera.MediaBackend/2"
Q_DECLARE_INTERFACE(MediaBackend, MediaBackend_iid)

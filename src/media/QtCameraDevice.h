#pragma once

#include "media/CameraDevice.h"

#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QPointer>
#include <QVideoWidget>

// A camera through Qt Multimedia; stills come as images (QImageCapture::capture), so nothing is
// written to a file.
class QtCameraDevice final : public CameraDevice
{
public:
    explicit QtCameraDevice(const QCameraDevice &input);
    ~QtCameraDevice() override;

    QWidget *viewfinder() override;
    QString name() const override;
    bool isReadyForCapture() const override;
    void capture() override;

private:
    void connectReports();

    QCamera m_camera;
    QImageCapture m_capture;
    QMediaCaptureSession m_session;
    QPointer<QVideoWidget> m_view;
    QObject m_context;
};

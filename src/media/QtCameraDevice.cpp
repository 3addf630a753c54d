#include "media/QtCameraDevice.h"

QtCameraDevice::QtCameraDevice(const QCameraDevice &input) : m_camera(input), m_view(new QVideoWidget)
{
    m_session.setCamera(&m_camera);
    m_session.setImageCapture(&m_capture);
    m_session.setVideoOutput(m_view.data());
    connectReports();
    m_camera.start();
}

QtCameraDevice::~QtCameraDevice()
{
    m_camera.stop();
    m_session.setVideoOutput(nullptr);
    // The view was never handed to a layout.
    if (m_view && !m_view->parent())
        delete m_view.data();
}

void QtCameraDevice::connectReports()
{
    QObject::connect(&m_camera, &QCamera::activeChanged, &m_context, [this](bool active) {
        if (active && started)
            started();
    });
    QObject::connect(&m_camera, &QCamera::errorOccurred, &m_context,
                     [this](QCamera::Error error, const QString &text) {
                         if (error != QCamera::NoError && failed)
                             failed(text.isEmpty() ? QObject::tr("The camera could not be opened.") : text);
                     });
    QObject::connect(&m_capture, &QImageCapture::readyForCaptureChanged, &m_context, [this](bool ready) {
        if (readyChanged)
            readyChanged(ready);
    });
    QObject::connect(&m_capture, &QImageCapture::imageCaptured, &m_context, [this](int, const QImage &image) {
        if (captured)
            captured(image);
    });
    QObject::connect(&m_capture, &QImageCapture::errorOccurred, &m_context,
                     [this](int, QImageCapture::Error, const QString &text) {
                         if (failed)
                             failed(text);
                     });
}

QWidget *QtCameraDevice::viewfinder()
{
    return m_view.data();
}

QString QtCameraDevice::name() const
{
    return m_camera.cameraDevice().description();
}

bool QtCameraDevice::isReadyForCapture() const
{
    return m_capture.isReadyForCapture();
}

void QtCameraDevice::capture()
{
    m_capture.capture();
}

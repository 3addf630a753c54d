#pragma once

#include <QImage>
#include <QString>
#include <functional>

class QWidget;

// One camera, opened by the media module: its live view, and stills taken into memory, never to a
// file. The module has meta-objects of its own, so reports come through these callbacks rather
// than signals; all of them run on the main thread.
class CameraDevice
{
public:
    virtual ~CameraDevice() = default;

    // The live view. The caller puts it into a layout and so owns it; the device must be destroyed
    // before it.
    virtual QWidget *viewfinder() = 0;
    virtual QString name() const = 0;
    virtual bool isReadyForCapture() const = 0;
    // One still; answered by captured or failed.
    virtual void capture() = 0;

    std::function<void()> started;
    std::function<void(const QString &reason)> failed;
    std::function<void(bool ready)> readyChanged;
    std::function<void(const QImage &image)> captured;
};

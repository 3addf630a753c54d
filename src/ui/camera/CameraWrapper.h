#pragma once

#include <QString>
#include <functional>
#include <memory>

class CameraDevice;
class QObject;

// Whether the camera may be used. On Linux nothing grants or refuses it: the camera may be used
// when a video input exists and opens. The answer carries the opened camera, so that it is not
// opened twice.
class CameraWrapper
{
public:
    using Answer = std::function<void(std::unique_ptr<CameraDevice> camera, const QString &whyNot)>;

    // Answers once, later, on the main thread; never after context is gone (the camera is closed).
    static void authorize(QObject *context, Answer answer);

    // The seam for tests: when set, it opens the camera in place of the media module.
    static inline std::function<std::unique_ptr<CameraDevice>(QString *whyNot)> openCamera;

    // A camera that neither starts nor fails by then counts as not opening.
    static constexpr int openTimeoutMs = 8000;
};

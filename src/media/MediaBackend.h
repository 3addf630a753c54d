#pragma once

#include "CameraDevice.h"

#include <QtPlugin>
#include <memory>

// What the media module offers the window.
class MediaBackend
{
public:
    virtual ~MediaBackend() = default;

    // The default video input, starting (started or failed follows); nothing, with the reason, when
    // there is no camera.
    virtual std::unique_ptr<CameraDevice> openCamera(QString *whyNot) = 0;
};

#define MediaBackend_iid "com.morvenda.Lumisera.MediaBackend/1"
Q_DECLARE_INTERFACE(MediaBackend, MediaBackend_iid)

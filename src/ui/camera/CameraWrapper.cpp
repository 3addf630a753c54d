#include "ui/camera/CameraWrapper.h"

#include "media/CameraDevice.h"
#include "media/MediaBackend.h"
#include "ui/media/MediaModule.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace {

std::unique_ptr<CameraDevice> open(QString *whyNot)
{
    if (CameraWrapper::openCamera)
        return CameraWrapper::openCamera(whyNot);
    MediaBackend *backend = MediaModule::backend(whyNot);
    return backend ? backend->openCamera(whyNot) : nullptr;
}

// Holds the starting camera until it says whether it opened, then hands it over once.
class PendingCamera : public QObject
{
public:
    PendingCamera(QObject *context, std::unique_ptr<CameraDevice> camera, CameraWrapper::Answer answer)
        : m_context(context), m_camera(std::move(camera)), m_answer(std::move(answer))
    {
        // Answered from the event loop, not from inside the camera's own report: a camera that
        // failed is destroyed then.
        m_camera->started = [this] { finishLater({}); };
        m_camera->failed = [this](const QString &reason) { finishLater(reason); };
        QTimer::singleShot(CameraWrapper::openTimeoutMs, this,
                           [this] { finish(QObject::tr("The camera did not start.")); });
    }

private:
    void finishLater(const QString &whyNot)
    {
        QMetaObject::invokeMethod(
            this, [this, whyNot] { finish(whyNot); }, Qt::QueuedConnection);
    }

    void finish(const QString &whyNot)
    {
        if (!m_camera)
            return;
        m_camera->started = nullptr;
        m_camera->failed = nullptr;
        std::unique_ptr<CameraDevice> camera = std::move(m_camera);
        deleteLater();
        if (!whyNot.isEmpty())
            camera.reset();
        if (m_context)
            m_answer(std::move(camera), whyNot);
    }

    QPointer<QObject> m_context;
    std::unique_ptr<CameraDevice> m_camera;
    CameraWrapper::Answer m_answer;
};

} // namespace

void CameraWrapper::authorize(QObject *context, Answer answer)
{
    QString whyNot;
    std::unique_ptr<CameraDevice> camera = open(&whyNot);
    if (!camera) {
        QTimer::singleShot(0, context, [answer = std::move(answer), whyNot] { answer(nullptr, whyNot); });
        return;
    }
    new PendingCamera(context, std::move(camera), std::move(answer));
}

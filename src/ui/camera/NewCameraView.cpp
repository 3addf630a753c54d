#include "ui/camera/NewCameraView.h"

#include "media/CameraDevice.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "ui/camera/CameraWrapper.h"
#include "ui/common/Presenter.h"
#include "ui/common/Symbols.h"
#include "ui/folder/OKAlert.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
bool asking = false;
}

NewCameraView::NewCameraView(ItemCollection *collection, std::unique_ptr<CameraDevice> camera,
                             QWidget *parent)
    : Screen(parent), m_collection(collection), m_camera(std::move(camera))
{
    setObjectName(QStringLiteral("newCameraView"));
    setTitle(tr("Camera"));
    // It adds to the vault: it goes with the vault's other screens.
    setDismissesOnBackground(true);
    setDismissesOnLock(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeViewfinder(), 1);
    layout->addWidget(makeBar());
    connectCamera();
    setFocusProxy(m_shutter);
}

NewCameraView::~NewCameraView()
{
    // The camera goes before its view, which the layout owns.
    m_camera.reset();
}

QWidget *NewCameraView::makeViewfinder()
{
    auto *frame = new QWidget;
    frame->setObjectName(QStringLiteral("viewfinderFrame"));
    frame->setAutoFillBackground(true);
    QPalette dark = frame->palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
    frame->setPalette(dark);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget *view = m_camera->viewfinder())
        layout->addWidget(view, 1);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("cameraStatus"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setWordWrap(true);
    m_status->setContentsMargins(12, 8, 12, 8);
    m_status->hide();
    layout->addWidget(m_status);
    return frame;
}

QWidget *NewCameraView::makeBar()
{
    auto *bar = new QWidget;
    bar->setObjectName(QStringLiteral("cameraBar"));
    m_cancel = new QPushButton(tr("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    m_shutter = new QToolButton;
    m_shutter->setObjectName(QStringLiteral("shutterButton"));
    m_shutter->setIcon(Symbols::icon(QStringLiteral("camera")));
    m_shutter->setIconSize(QSize(28, 28));
    m_shutter->setText(tr("Take Picture"));
    m_shutter->setToolTip(tr("Take Picture (Space)"));
    m_shutter->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_shutter->setMinimumWidth(96);
    auto *name = new QLabel(m_camera->name());
    name->setObjectName(QStringLiteral("cameraName"));
    name->setTextFormat(Qt::PlainText);
    name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    name->setForegroundRole(QPalette::PlaceholderText);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(m_cancel, 1, Qt::AlignLeft);
    layout->addWidget(m_shutter);
    layout->addWidget(name, 1);
    connect(m_cancel, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_shutter, &QToolButton::clicked, this, &NewCameraView::takePicture);
    return bar;
}

void NewCameraView::connectCamera()
{
    m_shutter->setEnabled(m_camera->isReadyForCapture());
    m_camera->readyChanged = [this](bool ready) { m_shutter->setEnabled(ready && !m_taking); };
    m_camera->captured = [this](const QImage &image) { store(image); };
    m_camera->failed = [this](const QString &reason) { showProblem(reason); };
}

void NewCameraView::takePicture()
{
    if (m_taking || !m_camera->isReadyForCapture())
        return;
    m_taking = true;
    m_shutter->setEnabled(false);
    m_camera->capture();
}

void NewCameraView::store(const QImage &image)
{
    if (!m_taking)
        return;
    if (m_collection) {
        const auto encodeAndStore = [image, operations = m_collection->operations()]() mutable {
            const QByteArray encoded = jpegData(image);
            // A picture that cannot be encoded stores nothing.
            return !encoded.isEmpty() && operations.addImageData(encoded);
        };
        StoragePool::runThen(QPointer<ItemCollection>(m_collection), encodeAndStore,
                             [collection = m_collection](bool) { collection->reload(); });
    }
    Q_EMIT dismissRequested();
}

void NewCameraView::showProblem(const QString &text)
{
    m_taking = false;
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
    m_shutter->setEnabled(m_camera->isReadyForCapture());
}

QByteArray NewCameraView::jpegData(const QImage &image)
{
    if (image.isNull())
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(jpegQuality);
    return writer.write(image) ? data : QByteArray();
}

void NewCameraView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        Q_EMIT dismissRequested();
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            takePicture();
        return;
    default:
        Screen::keyPressEvent(event);
    }
}

void NewCameraView::present(Presenter *presenter, ItemCollection *collection, QWidget *alertParent)
{
    if (asking)
        return;
    asking = true;
    // Over when the answer has come or will not come: the answer goes with the last copy of this.
    std::shared_ptr<void> askingEnds(nullptr, [](void *) { asking = false; });
    QPointer<ItemCollection> target = collection;
    QPointer<QWidget> parent = alertParent;
    CameraWrapper::authorize(presenter, [presenter, target, parent, askingEnds](
                                            std::unique_ptr<CameraDevice> camera, const QString &whyNot) {
        if (camera && target) {
            presenter->cover(new NewCameraView(target, std::move(camera)));
            return;
        }
        if (!parent)
            return;
        auto *alert =
            new OKAlert(tr("Capture Error"), tr("Camera use not authorized; check Settings"), parent);
        alert->setObjectName(QStringLiteral("captureErrorAlert"));
        alert->setInformativeText(whyNot);
        alert->open();
    });
}

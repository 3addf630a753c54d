#pragma once

#include "ui/common/Screen.h"

#include <QPointer>
#include <memory>

class CameraDevice;
class ItemCollection;
class Presenter;
class QLabel;
class QPushButton;
class QToolButton;

// The camera over the whole window: the live view, the shutter and "Cancel". A still is encoded as
// JPEG in memory and stored encrypted in the collection's folder under a generated ".JPG" name;
// nothing of it reaches the disk unencrypted. The screen goes as soon as the still is taken; the
// folder reloads once it is stored.
class NewCameraView : public Screen
{
    Q_OBJECT
public:
    NewCameraView(ItemCollection *collection, std::unique_ptr<CameraDevice> camera,
                  QWidget *parent = nullptr);
    ~NewCameraView() override;

    // The camera button: opens the camera and covers the window with it, or shows "Capture Error"
    // when there is no camera that opens. A second call while the first is asking does nothing.
    static void present(Presenter *presenter, ItemCollection *collection, QWidget *alertParent);

    static QByteArray jpegData(const QImage &image);
    static constexpr int jpegQuality = 90;

    QToolButton *shutterButton() const { return m_shutter; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *makeViewfinder();
    QWidget *makeBar();
    void connectCamera();
    void takePicture();
    void store(const QImage &image);
    void showProblem(const QString &text);

    QPointer<ItemCollection> m_collection;
    std::unique_ptr<CameraDevice> m_camera;
    QToolButton *m_shutter = nullptr;
    QPushButton *m_cancel = nullptr;
    QLabel *m_status = nullptr;
    bool m_taking = false;
};

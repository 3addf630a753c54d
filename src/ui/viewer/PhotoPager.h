#pragma once

#include <QWidget>

class PhotoPageLoader;
class QPropertyAnimation;
class QTimer;

// A horizontal pager of pictures, one a page, each fitted to the page. The arrow keys and the
// mouse wheel step a page at a time in an ease-in-out animation; a touchpad's scroll or a mouse
// drag moves freely and the pager settles on the nearest page when it stops. A double click
// asks to zoom the picture in view. Tells its loader which page to hold.
class PhotoPager : public QWidget
{
    Q_OBJECT
    // In pages: 0 shows the first, 1.5 shows halves of the second and the third.
    Q_PROPERTY(qreal position READ position WRITE setPosition NOTIFY positionChanged)
public:
    static constexpr int spacing = 15;
    static constexpr int stepMs = 800;
    static constexpr int settleMs = 300;
    // A drag shorter than this is a click.
    static constexpr int minimumDragDistance = 10;

    explicit PhotoPager(PhotoPageLoader *loader, QWidget *parent = nullptr);

    int count() const;
    qreal position() const { return m_position; }
    void setPosition(qreal position);
    // The page nearest to the position: the one in view.
    int currentIndex() const { return m_current; }
    // The page the pager is moving to, or the current one when still.
    int targetIndex() const;
    bool isMoving() const;
    // Distance from one page to the next, in pixels.
    qreal pageStride() const { return width() + spacing; }

    // Shows index at once.
    void showPage(int index);
    // Moves delta pages on from the target, stopping at either end.
    void step(int delta);

Q_SIGNALS:
    void positionChanged();
    void currentIndexChanged(int index);
    void zoomRequested(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void animateTo(int index, int durationMs);
    void settle();
    void scrollBy(qreal pixels);
    qreal clampedPosition(qreal position) const;
    void holdPages();
    void sendPageSize();

    PhotoPageLoader *m_loader;
    QPropertyAnimation *m_animation;
    QTimer *m_settleTimer;
    QTimer *m_sizeTimer;
    qreal m_position = 0;
    int m_current = 0;
    int m_target = 0;
    int m_wheelAngle = 0;
    QPointF m_pressPos;
    qreal m_pressPosition = 0;
    bool m_pressed = false;
    bool m_dragging = false;
};

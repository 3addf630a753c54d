#pragma once

#include <QPixmap>
#include <QWidget>

// Draws the chosen background picture behind the window's screens, filling the area (cropped,
// never stretched) at a given opacity over the palette's window colour.
class BackgroundCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit BackgroundCanvas(QWidget *parent = nullptr);

    // A background image name ("none" for no picture).
    void setImage(const QString &image);
    QString image() const { return m_image; }
    void setOpacity(qreal opacity);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_image;
    QPixmap m_picture;
    qreal m_opacity = 0.3;
};

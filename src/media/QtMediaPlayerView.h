#pragma once

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QWidget>

class QLabel;
class QSlider;
class QStackedWidget;
class QToolButton;
class QVideoWidget;

// An audio or video file with play/pause, a position slider and the time. Audio shows a picture
// where video would be.
class QtMediaPlayerView final : public QWidget
{
    Q_OBJECT
public:
    explicit QtMediaPlayerView(const QString &path, QWidget *parent = nullptr);
    ~QtMediaPlayerView() override;

private:
    QWidget *makeAudioPage(const QString &path);
    QWidget *makeControls();
    void connectPlayer();
    void togglePlayback();
    void showPlaybackState(QMediaPlayer::PlaybackState state);
    void showPosition();

    QMediaPlayer m_player;
    QAudioOutput m_audio;
    QStackedWidget *m_screen;
    QVideoWidget *m_video;
    QLabel *m_failure;
    QToolButton *m_playPause;
    QSlider *m_slider;
    QLabel *m_time;
};

#include "media/QtMediaPlayerView.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVideoWidget>
#include <limits>

namespace {
constexpr int audioPage = 0;
constexpr int videoPage = 1;
constexpr int pictureEdge = 128;

QString clock(qint64 ms, bool hours)
{
    const QTime time = QTime(0, 0).addMSecs(ms);
    return time.toString(hours ? QStringLiteral("h:mm:ss") : QStringLiteral("m:ss"));
}

// "1:05 / 3:40", with hours when the whole runs an hour or more.
QString timeText(qint64 positionMs, qint64 durationMs)
{
    const bool hours = durationMs >= 3600 * 1000;
    return clock(positionMs, hours) + QStringLiteral(" / ") + clock(durationMs, hours);
}
} // namespace

QtMediaPlayerView::QtMediaPlayerView(const QString &path, QWidget *parent)
    : QWidget(parent), m_screen(new QStackedWidget), m_video(new QVideoWidget), m_failure(new QLabel),
      m_playPause(new QToolButton), m_slider(new QSlider(Qt::Horizontal)), m_time(new QLabel)
{
    setObjectName(QStringLiteral("mediaPlayer"));
    m_video->setObjectName(QStringLiteral("videoOutput"));
    m_screen->addWidget(makeAudioPage(path));
    m_screen->addWidget(m_video);
    // Until the player knows, the file's type tells.
    const bool video = QMimeDatabase().mimeTypeForFile(path).name().startsWith(QStringLiteral("video/"));
    m_screen->setCurrentIndex(video ? videoPage : audioPage);

    m_failure->setObjectName(QStringLiteral("playerFailure"));
    m_failure->setAlignment(Qt::AlignCenter);
    m_failure->setWordWrap(true);
    m_failure->setForegroundRole(QPalette::PlaceholderText);
    m_failure->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_screen, 1);
    layout->addWidget(m_failure);
    layout->addWidget(makeControls());

    m_player.setAudioOutput(&m_audio);
    m_player.setVideoOutput(m_video);
    connectPlayer();
    m_player.setSource(QUrl::fromLocalFile(path));
    showPlaybackState(m_player.playbackState());
    showPosition();
}

QtMediaPlayerView::~QtMediaPlayerView()
{
    // Lets go of the file now: the caller removes it next.
    m_player.stop();
    m_player.setSource(QUrl());
    m_player.setVideoOutput(nullptr);
}

QWidget *QtMediaPlayerView::makeAudioPage(const QString &path)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("audioPage"));
    auto *picture = new QLabel;
    picture->setAlignment(Qt::AlignCenter);
    const QString themed = QStringLiteral("audio-x-generic");
    if (QIcon::hasThemeIcon(themed)) {
        picture->setPixmap(QIcon::fromTheme(themed).pixmap(pictureEdge, pictureEdge));
    } else {
        // The style's own speaker is a small bitmap: a note drawn as text scales cleanly.
        picture->setText(QStringLiteral("\u266B"));
        QFont large = picture->font();
        large.setPixelSize(pictureEdge * 3 / 4);
        picture->setFont(large);
        picture->setForegroundRole(QPalette::PlaceholderText);
    }
    auto *name = new QLabel(QFileInfo(path).fileName());
    name->setTextFormat(Qt::PlainText);
    name->setAlignment(Qt::AlignCenter);
    name->setWordWrap(true);
    auto *layout = new QVBoxLayout(page);
    layout->addStretch();
    layout->addWidget(picture);
    layout->addWidget(name);
    layout->addStretch();
    return page;
}

QWidget *QtMediaPlayerView::makeControls()
{
    m_playPause->setObjectName(QStringLiteral("playPauseButton"));
    m_playPause->setAutoRaise(true);
    m_playPause->setIconSize({24, 24});
    m_slider->setObjectName(QStringLiteral("positionSlider"));
    m_slider->setAccessibleName(tr("Position"));
    m_slider->setRange(0, 0);
    m_time->setObjectName(QStringLiteral("timeLabel"));
    // Digits of one width, so that the slider does not twitch as the time runs.
    m_time->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(m_playPause, &QToolButton::clicked, this, &QtMediaPlayerView::togglePlayback);
    connect(m_slider, &QSlider::sliderMoved, &m_player,
            [this](int position) { m_player.setPosition(position); });
    connect(m_slider, &QSlider::actionTriggered, this, [this] {
        // Keyboard and page steps: the value the action leads to.
        if (!m_slider->isSliderDown())
            m_player.setPosition(m_slider->sliderPosition());
    });

    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(12, 6, 12, 10);
    row->addWidget(m_playPause);
    row->addWidget(m_slider, 1);
    row->addWidget(m_time);
    return bar;
}

void QtMediaPlayerView::connectPlayer()
{
    connect(&m_player, &QMediaPlayer::hasVideoChanged, this,
            [this](bool video) { m_screen->setCurrentIndex(video ? videoPage : audioPage); });
    connect(&m_player, &QMediaPlayer::durationChanged, this, [this](qint64 duration) {
        m_slider->setRange(0, int(qMin<qint64>(duration, std::numeric_limits<int>::max())));
        showPosition();
    });
    connect(&m_player, &QMediaPlayer::positionChanged, this, &QtMediaPlayerView::showPosition);
    connect(&m_player, &QMediaPlayer::playbackStateChanged, this, &QtMediaPlayerView::showPlaybackState);
    connect(&m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString &text) {
        m_failure->setText(text.isEmpty() ? tr("This file cannot be played.") : text);
        m_failure->show();
    });
}

void QtMediaPlayerView::togglePlayback()
{
    if (m_player.playbackState() == QMediaPlayer::PlayingState)
        m_player.pause();
    else
        m_player.play();
}

void QtMediaPlayerView::showPlaybackState(QMediaPlayer::PlaybackState state)
{
    const bool playing = state == QMediaPlayer::PlayingState;
    m_playPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    const QString text = playing ? tr("Pause") : tr("Play");
    m_playPause->setToolTip(text);
    m_playPause->setAccessibleName(text);
}

void QtMediaPlayerView::showPosition()
{
    if (!m_slider->isSliderDown())
        m_slider->setValue(int(qMin<qint64>(m_player.position(), m_slider->maximum())));
    m_time->setText(timeText(m_player.position(), m_player.duration()));
}

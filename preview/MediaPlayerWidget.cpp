#include "preview/MediaPlayerWidget.h"

#include "platform/media/FrameServer.h"
#include "platform/media/MpvPlayer.h"
#include "platform/media/MpvVideoWidget.h"
#include "platform/windows/FocusFrame.h"
#include "preview/PositionBar.h"
#include "preview/StillPicture.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// m:ss.mmm, milliseconds truncated.
QString Clock(double seconds)
{
    const long long ms = std::isfinite(seconds) && seconds > 0 ? (long long)(seconds * 1000) : 0;
    return QString("%1:%2.%3")
        .arg(ms / 60000)
        .arg(ms / 1000 % 60, 2, 10, QChar('0'))
        .arg(ms % 1000, 3, 10, QChar('0'));
}

// Light words over the picture.
QLabel* MakeCaption(QWidget* parent)
{
    auto* caption = new QLabel(parent);
    caption->setAlignment(Qt::AlignCenter);
    caption->setWordWrap(true);
    caption->setTextFormat(Qt::PlainText);
    caption->setStyleSheet("color: white; background: transparent; padding: 8px");
    caption->hide();
    return caption;
}

QToolButton* MakeButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    // The player keeps the focus, so that Space always means play/pause.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

MediaPlayerWidget::MediaPlayerWidget(QWidget* parent)
    : QWidget(parent),
      // Paused on the first picture, kept on the last one at the end, timestamps as the
      // container has them (so that the first picture's own time can be taken as zero), and
      // playing on without sound where there is no sound device.
      m_player(new MpvPlayer(MpvPlayer::Output::Window,
                             {{"pause", "yes"},
                              {"keep-open", "always"},
                              {"rebase-start-time", "no"},
                              {"audio-fallback-to-null", "yes"}},
                             this)),
      m_frames(new FrameServer(this)), m_video(new MpvVideoWidget(m_player, this)),
      m_still(new StillPicture(this)), m_message(MakeCaption(this)), m_note(MakeCaption(this)),
      m_play(MakeButton(this, QStyle::SP_MediaPlay, tr("Play (Space)"))),
      m_stop(MakeButton(this, QStyle::SP_MediaStop, tr("Stop"))), m_bar(new PositionBar(this)),
      m_time(new QLabel(this)), m_mpvFirstPts(NaN)
{
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(FocusFrame::kWidth, FocusFrame::kWidth, FocusFrame::kWidth,
                               FocusFrame::kWidth);
    layout->setSpacing(2);
    // While not playing, the exact picture lies over the player's, and the message over both.
    layout->addWidget(m_video, 0, 0, 1, 4);
    layout->addWidget(m_still, 0, 0, 1, 4);
    layout->addWidget(m_message, 0, 0, 1, 4);
    layout->addWidget(m_note, 0, 0, 1, 4);
    m_still->hide();
    layout->addWidget(m_play, 1, 0);
    layout->addWidget(m_stop, 1, 1);
    layout->addWidget(m_bar, 1, 2);
    layout->addWidget(m_time, 1, 3);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(2, 1);

    connect(m_play, &QToolButton::clicked, this, &MediaPlayerWidget::TogglePlay);
    connect(m_stop, &QToolButton::clicked, this, &MediaPlayerWidget::Stop);
    connect(m_bar, &PositionBar::SeekRequested, this, &MediaPlayerWidget::Seek);
    connect(m_player, &MpvPlayer::PropertyChanged, this, &MediaPlayerWidget::OnPropertyChanged);
    connect(m_frames, &FrameServer::Opened, this, &MediaPlayerWidget::OnFramesOpened);
    connect(m_frames, &FrameServer::FrameReady, this, &MediaPlayerWidget::OnFrameReady);
    connect(m_player, &MpvPlayer::StartFile, this, [this] { m_mpvFirstPts = NaN; });
    connect(m_player, &MpvPlayer::PlaybackRestart, this, [this] {
        // The position at the first restart of a file is its first picture's time.
        if (!std::isfinite(m_mpvFirstPts))
            m_player->RequestPosition();
        // Playing has reached the picture it started from: the player's pictures take over.
        if (m_state == Playing)
            m_still->hide();
    });
    connect(m_player, &MpvPlayer::PositionReply, this, &MediaPlayerWidget::OnFirstPosition);
    connect(m_player, &MpvPlayer::EndFile, this,
            [this](MpvPlayer::EndReason reason, const QString& errorText) {
                if (reason == MpvPlayer::EndReason::Error)
                    ShowError(errorText);
            });
    connect(m_player, &MpvPlayer::CommandFailed, this,
            [this](const QString& errorText) { emit Warning(0, 0, errorText); });
    if (!m_player->IsValid())
        ShowError(m_player->ErrorText());
    Refresh();
}

MediaPlayerWidget::~MediaPlayerWidget() = default;

void MediaPlayerWidget::Open(const QString& hostPath)
{
    m_hostPath = hostPath;
    m_message->hide();
    m_note->hide();
    m_pausedAt = 0;
    m_stillFrame = 0;
    m_still->SetPicture(QImage());
    if (!QFileInfo(hostPath).isFile()) {
        ShowError(tr("There is no such file."));
        return;
    }
    // Numbering a long movie's pictures reads it through, which takes a while on a slow disk:
    // the window stays usable meanwhile and says so.
    layout()->activate();
    m_frames->OpenAsync(hostPath, m_video->size() * devicePixelRatioF());
    m_still->SetText(tr("Opening \"%1\"\u2026").arg(QFileInfo(hostPath).fileName()));
    m_still->show();
    m_player->LoadFile(hostPath);
    NotifyPosition();
}

// Without pictures (sound only) frames are counted from the player's own figures.
void MediaPlayerWidget::OnFramesOpened(bool ok)
{
    m_still->SetText(QString());
    if (!ok) {
        ShowError(m_frames->ErrorText());
        return;
    }
    if (Exact()) {
        ShowStill(FrameAtTime(m_pausedAt));
    } else {
        m_still->hide();
        m_note->setText(tr("\"%1\" has sound only: there is no picture to show.")
                            .arg(QFileInfo(m_hostPath).fileName()));
        m_note->show();
    }
    NotifyPosition();
}

QString MediaPlayerWidget::ErrorText() const
{
    return m_message->isHidden() ? QString() : m_message->text();
}

// The first reason stays: the frame server's and the player's would say the same thing twice.
void MediaPlayerWidget::ShowError(const QString& text)
{
    if (!m_message->isHidden())
        return;
    const QString name = QFileInfo(m_hostPath).fileName();
    m_message->setText(name.isEmpty() ? tr("The movie cannot be played: %1").arg(text)
                                      : tr("\"%1\" cannot be played: %2").arg(name, text));
    m_message->show();
    emit Error();
}

bool MediaPlayerWidget::Exact() const
{
    return m_frames->HasVideo();
}

double MediaPlayerWidget::FirstPts() const
{
    return Exact() ? m_frames->FirstPts() : m_mpvFirstPts;
}

double MediaPlayerWidget::FramesPerSecond() const
{
    if (m_frames->IsOpening())
        return 0.0;
    const double fps = Exact() ? m_frames->FramesPerSecond() : m_player->ContainerFps();
    return std::isfinite(fps) && fps > 0 ? fps : 0.0;
}

double MediaPlayerWidget::TimeOfFrame(int n) const
{
    return Exact() ? m_frames->TimeOfFrame(n) : n / FramesPerSecond();
}

int MediaPlayerWidget::FrameAtTime(double seconds) const
{
    if (Exact())
        return m_frames->FrameAtTime(seconds);
    // A picture's own time gives its number back despite rounding in the division.
    return int(std::floor(seconds * FramesPerSecond() + 1e-6));
}

double MediaPlayerWidget::PlayerPosition() const
{
    const double position = m_player->TimePos() - FirstPts();
    return std::isfinite(position) ? std::max(0.0, position) : m_pausedAt;
}

double MediaPlayerWidget::Position() const
{
    return m_state == Playing ? PlayerPosition() : m_pausedAt;
}

double MediaPlayerWidget::FramePosition() const
{
    const double fps = FramesPerSecond();
    if (fps <= 0)
        return 0.0;
    const double seconds = Position();
    const int n = FrameAtTime(seconds);
    const double past = (seconds - TimeOfFrame(n)) * fps;
    return std::abs(past) < 1e-6 ? n : n + past;
}

int MediaPlayerWidget::FrameCount() const
{
    if (m_frames->IsOpening())
        return 0;
    if (Exact())
        return m_frames->FrameCount();
    const double duration = m_player->Duration();
    return std::isfinite(duration) ? int(std::llround(duration * FramesPerSecond())) : 0;
}

double MediaPlayerWidget::Length() const
{
    if (m_frames->IsOpening())
        return 0.0;
    if (Exact())
        return m_frames->DurationSeconds();
    const double fps = FramesPerSecond();
    if (fps > 0)
        return FrameCount() / fps;
    const double duration = m_player->Duration();
    return std::isfinite(duration) ? duration : 0.0;
}

void MediaPlayerWidget::Seek(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    // With pictures, the last one is as far as a seek goes.
    const int frames = FrameCount();
    seconds = std::max(0.0, frames > 0 ? std::min(seconds, TimeOfFrame(frames - 1)) : seconds);
    if (m_state != Playing)
        m_pausedAt = seconds;
    if (m_state != Playing && Exact())
        ShowStill(FrameAtTime(seconds));
    else
        SeekPlayer(seconds);
    NotifyPosition();
}

// Before the first picture's time is known the seek waits for it (OnFirstPosition).
void MediaPlayerWidget::SeekPlayer(double seconds)
{
    if (std::isfinite(FirstPts()))
        m_player->SeekAbsolute(FirstPts() + seconds);
}

void MediaPlayerWidget::SeekFrame(double n)
{
    const int frames = FrameCount();
    if (frames > 0)
        Seek(TimeOfFrame(std::clamp(int(n), 0, frames - 1)));
}

void MediaPlayerWidget::ShowStill(int n)
{
    m_stillFrame = n;
    m_frames->Request(n);
    m_still->show();
}

// A picture the movie does not give is said so, not stood in for by another.
void MediaPlayerWidget::OnFrameReady(int n, const QImage& picture, const QString& error)
{
    if (n != m_stillFrame || m_state == Playing)
        return;
    m_still->SetPicture(picture);
    m_still->SetText(error);
}

void MediaPlayerWidget::SetSelection(double start, double end)
{
    m_bar->SetSelection(start, end);
}

void MediaPlayerWidget::Play()
{
    if (m_state == Playing || !m_message->isHidden() || m_frames->IsOpening())
        return;
    // From the last picture, playing starts again from the first.
    if (FrameCount() > 0 && FramePosition() >= FrameCount() - 1)
        m_pausedAt = 0;
    // The player starts from exactly the picture shown.
    SeekPlayer(m_pausedAt);
    m_player->SetPause(false);
    SetState(Playing);
}

void MediaPlayerWidget::Pause()
{
    if (m_state != Playing)
        return;
    m_player->SetPause(true);
    OnPlayerPaused();
}

// Settles on a whole picture, and shows exactly that one, so that the readout and the picture
// agree however late the pause reached the player.
void MediaPlayerWidget::OnPlayerPaused()
{
    const double position = PlayerPosition();
    SetState(Paused);
    Seek(FramesPerSecond() > 0 ? TimeOfFrame(FrameAtTime(position)) : position);
}

void MediaPlayerWidget::Stop()
{
    m_player->SetPause(true);
    SetState(Stopped);
    Seek(0);
}

void MediaPlayerWidget::TogglePlay()
{
    if (m_state == Playing)
        Pause();
    else
        Play();
}

void MediaPlayerWidget::SetState(State state)
{
    if (state == m_state)
        return;
    const State old = m_state;
    m_state = state;
    m_play->setIcon(
        style()->standardIcon(state == Playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_play->setToolTip(state == Playing ? tr("Pause (Space)") : tr("Play (Space)"));
    emit PlayStateChanged(old, state);
}

void MediaPlayerWidget::NotifyPosition()
{
    const double position = Position();
    Refresh();
    if (position == m_lastPosition)
        return;
    const double old = m_lastPosition;
    m_lastPosition = position;
    emit PositionChanged(old, position);
}

void MediaPlayerWidget::OnFirstPosition(double seconds)
{
    if (std::isfinite(m_mpvFirstPts) || !std::isfinite(seconds))
        return;
    m_mpvFirstPts = seconds;
    // A seek asked for while the movie was loading.
    if (m_pausedAt > 0 && !Exact())
        SeekPlayer(m_pausedAt);
    NotifyPosition();
}

void MediaPlayerWidget::OnPropertyChanged(const QString& name, const QVariant& value)
{
    // At the end of the movie the player pauses by itself.
    if (name == "pause" && value.toBool() && m_state == Playing)
        OnPlayerPaused();
    NotifyPosition();
}

void MediaPlayerWidget::Refresh()
{
    const double length = Length();
    m_bar->SetLength(length);
    m_bar->SetPosition(Position());
    m_time->setText(Clock(Position()) + " / " + Clock(length));
}

void MediaPlayerWidget::paintEvent(QPaintEvent*)
{
    FocusFrame::Paint(*this);
}

void MediaPlayerWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)
        TogglePlay();
    else
        QWidget::keyPressEvent(event);
}

#pragma once
// The clip editor's media player: the movie's picture, play/pause and stop buttons, a position
// bar that shows the selection, the time, and Space for play/pause. A movie that cannot be
// played leaves the picture black with the reason written on it, and one with sound only says
// so; while a movie is being opened the picture says so. A frame along the edges shows the
// keyboard focus.
//
// Positions count in seconds from the movie's first picture, whatever its container's first
// timestamp, and frame n is the n-th picture from 0. While not playing, the position is the one
// last asked for (or the picture playback paused on), so that stepping reads back exactly the
// frame it put; while playing it follows the player. Playing, with sound, is libmpv's; the
// pictures shown while not playing, and frame numbers, come from the frame server, so that a
// step is a picture already decoded, and playing starts from exactly the picture shown.
#include <QWidget>

class FrameServer;
class MpvPlayer;
class MpvVideoWidget;
class PositionBar;
class QLabel;
class QToolButton;
class StillPicture;

class MediaPlayerWidget : public QWidget
{
    Q_OBJECT
public:
    enum State { Stopped = 0, Paused = 1, Playing = 2 };

    explicit MediaPlayerWidget(QWidget* parent = nullptr);
    ~MediaPlayerWidget() override;

    // Loads the movie at hostPath, paused on its first picture.
    void Open(const QString& hostPath);
    // Seconds from the first picture.
    double Position() const;
    void Seek(double seconds);
    // The position in frames (fractional between pictures); 0 for a movie without pictures.
    double FramePosition() const;
    // Shows picture n, n clamped to the movie's pictures.
    void SeekFrame(double n);
    // The length in seconds (the pictures' time, for a movie with pictures).
    double Length() const;
    // The number of pictures; 0 without video.
    int FrameCount() const;
    void SetSelection(double start, double end);

    State PlayState() const { return m_state; }
    void Play();
    void Pause();
    void Stop();
    void TogglePlay();
    // Why the movie could not be played, or empty.
    QString ErrorText() const;

signals:
    void PositionChanged(double oldSeconds, double newSeconds);
    void PlayStateChanged(int oldState, int newState);
    void Warning(int type, int parameter, const QString& description);
    void Error();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Pictures and their numbers come from the frame server (else from the player's figures).
    bool Exact() const;
    double FirstPts() const;
    double FramesPerSecond() const;
    double TimeOfFrame(int n) const;
    int FrameAtTime(double seconds) const;
    double PlayerPosition() const;
    void SeekPlayer(double seconds);
    void ShowStill(int n);
    void OnFramesOpened(bool ok);
    void OnFrameReady(int n, const QImage& picture, const QString& error);
    void SetState(State state);
    void NotifyPosition();
    void ShowError(const QString& text);
    void OnPropertyChanged(const QString& name, const QVariant& value);
    void OnPlayerPaused();
    void OnFirstPosition(double seconds);
    void Refresh();

    MpvPlayer* m_player;
    FrameServer* m_frames;
    MpvVideoWidget* m_video;
    StillPicture* m_still;
    QLabel* m_message;
    QLabel* m_note; // what the picture lacks, for a movie that plays all the same
    QToolButton* m_play;
    QToolButton* m_stop;
    PositionBar* m_bar;
    QLabel* m_time;
    QString m_hostPath;
    // The first picture's time as the player reported it.
    double m_mpvFirstPts;
    int m_stillFrame = 0;
    double m_pausedAt = 0;
    double m_lastPosition = 0;
    State m_state = Stopped;
};

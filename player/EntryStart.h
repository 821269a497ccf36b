#pragma once
// Takes a movie that a player has just opened, held paused, to the picture its entry starts
// on, and ends the entry where its duration ends. Start times count, as marks do, from the
// movie's first picture (see FrameServer.h), so the player is sent to that picture's time on
// its own clock plus the start time: neither the container's start nor the media library's
// guesses for movies without timestamps then shift the picture shown.
#include <QObject>
#include <QString>

class MpvPlayer;

class EntryStart : public QObject
{
    Q_OBJECT
public:
    // The player is borrowed and must outlive this; it is to be set up with PlayerOptions.
    explicit EntryStart(MpvPlayer* player, QObject* parent = nullptr);

    // The media library's settings this needs.
    static QVariantMap PlayerOptions();

    // The player is opening a file for an entry that starts and lasts so many seconds (negative:
    // not given).
    void Expect(double start, double duration);
    // Nothing more is done for the file.
    void Forget() { m_stage = Stage::Idle; }
    // The player was being sent to the start: a file that ends then ends before its start.
    bool IsSeeking() const { return m_stage == Stage::Seeking; }
    // On the player's clock: the movie's first picture, and the one the entry started on; NaN
    // until known.
    double FirstPicture() const { return m_firstPicture; }
    double StartPicture() const { return m_startPicture; }

signals:
    // The player shows the entry's first picture.
    void Arrived();
    // The movie ends before the start time.
    void PastTheEnd();

private:
    enum class Stage { Idle, Opening, FindingFirst, Seeking, Arrived };

    void OnPlaybackRestart();
    bool TakeReply();
    void OnPositionReply(double position);
    void FindFirst(double position);
    void SeekStart(double firstPicture);
    void Arrive(double position);

    MpvPlayer* m_player;
    Stage m_stage = Stage::Idle;
    double m_start = -1.0;
    double m_duration = -1.0;
    QString m_format; // the media library's name for the file's container
    double m_firstPicture;
    double m_startPicture;
    int m_unanswered = 0; // requests sent to the player and not yet answered
    int m_stale = 0;      // of these, the ones asked for an earlier file
};

#pragma once
// Plays the entries of a playlist one after another on one MpvPlayer, each from its start
// time for its duration. The player is handed one entry ahead of the one playing, never the
// whole list, so that a show of any length starts at once and nothing is dropped. A reference
// that cannot be played gives way to the entry's next one; an entry with none left is skipped
// with a notice.
#include "platform/media/MpvPlayer.h"
#include "player/AsxPlaylist.h"
#include "player/PlayReport.h"

#include <QObject>
#include <QString>
#include <optional>

class ShowPlayer : public QObject
{
    Q_OBJECT
public:
    // player is borrowed; relative references are relative to playlistFolder (a host path).
    // With reporting, each entry is held at its first frame until its position is known.
    ShowPlayer(MpvPlayer* player, AsxPlaylist playlist, const QString& playlistFolder,
               bool reporting, QObject* parent = nullptr);

    // The media library's settings a show needs, for creating its MpvPlayer.
    static QVariantMap PlayerOptions();

    void Play();
    void Quit();
    // Moves within the playing entry, never outside its interval.
    void SeekBy(double seconds);
    const PlayReport& Report() const { return m_report; }

signals:
    void Notice(const QString& text);
    void TitleChanged(const QString& title);
    void Finished();

private:
    // One reference of an entry as handed to the player.
    struct Attempt {
        std::size_t entry = 0;
        std::size_t ref = 0;
        QString target; // host path or URL
        double start = -1.0;
        double duration = -1.0;
    };

    std::optional<Attempt> NextAttempt();
    void Feed();
    void GiveUp(const Attempt& attempt, const QString& problem);
    void RollOver(const Attempt& attempt, const QString& problem);
    void OnStartFile();
    void OnPlaybackRestart();
    void OnPositionReply(double position);
    void OnUnloading(double lastPosition);
    void OnEndFile(MpvPlayer::EndReason reason, const QString& errorText);
    void OnPropertyChanged(const QString& name, const QVariant& value);
    void Finish();
    QString EntryName(std::size_t entry) const;

    MpvPlayer* m_player;
    AsxPlaylist m_playlist;
    QString m_folder;
    bool m_reporting;
    // Where the search for the next reference to play goes on.
    std::size_t m_nextEntry = 0;
    std::size_t m_nextRef = 0;
    std::optional<Attempt> m_handed;  // loaded into the player, not yet started
    std::optional<Attempt> m_current; // started
    bool m_restarted = false;         // the current one has shown its first frame
    double m_firstPosition;
    // A reference turned out to be a playlist that the media library opened itself: what it
    // queued is being stopped before the show goes on.
    bool m_draining = false;
    bool m_quitting = false;
    bool m_finished = false;
    PlayReport m_report;
};

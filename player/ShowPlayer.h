#pragma once
// Plays the entries of a playlist one after another, each from its start time for its
// duration, on two MpvPlayers that take turns: while one plays an entry, the other opens the
// next and holds it at its first frame, so that opening a file never shows between entries.
// Neither is ever handed the whole list, so that a show of any length starts at once. A
// reference that cannot be played (one the media library cannot open, an address that does not
// answer in time, a movie that ends before the start time asked for) gives way to the entry's
// next one; an entry with none left is skipped with a notice.
#include "platform/media/MpvPlayer.h"
#include "player/EntryStart.h"
#include "player/PlayReport.h"
#include "util/AsxPlaylist.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <optional>

class ShowPlayer : public QObject
{
    Q_OBJECT
public:
    // The players are borrowed; relative references are relative to playlistFolder (a host
    // path). With reporting, the position each entry played from and to is kept.
    ShowPlayer(std::array<MpvPlayer*, 2> players, AsxPlaylist playlist,
               const QString& playlistFolder, bool reporting, QObject* parent = nullptr);

    // The media library's settings a show needs, for creating its MpvPlayers.
    static QVariantMap PlayerOptions();

    void Play();
    void Quit();
    void TogglePause();
    // Moves within the playing entry, never outside its interval.
    void SeekBy(double seconds);
    const PlayReport& Report() const { return m_report; }
    // The show ended on its own without anything in it that could be played.
    bool FoundNothingToPlay() const { return m_finished && !m_quitting && !m_begun; }

signals:
    void Notice(const QString& text);
    void TitleChanged(const QString& title);
    // The player whose picture is to be seen now (0 or 1).
    void PlayerShown(int player);
    void Finished();

private:
    // One reference of an entry as handed to a player.
    struct Attempt {
        std::size_t entry = 0;
        std::size_t ref = 0;
        QString target; // host path or URL
        double start = -1.0;
        double duration = -1.0;
    };
    // A player and the reference it was handed.
    struct Deck {
        MpvPlayer* player = nullptr;
        std::optional<Attempt> attempt;
        bool ready = false; // its first frame is shown: it can no longer give way to another
        EntryStart* start = nullptr;
        // Why the reference was stopped before its first frame showed; empty when it was not.
        QString failure;
        QTimer* opening = nullptr; // runs while an address is being opened
        // The reference turned out to be a playlist that the media library opened itself:
        // what it queued is being stopped before the deck is used again.
        bool stoppingPlaylist = false;
    };

    std::optional<Attempt> NextAttempt();
    void Advance();
    void Feed();
    void Begin(int deck);
    void GiveUp(const Attempt& attempt, const QString& problem);
    void RollOver(const Attempt& attempt, const QString& problem);
    void Fail(int deck, const QString& problem);
    QString LateStart(const Attempt& attempt) const;
    double LastPicture(const Attempt& attempt, double started, double lastPosition) const;
    QString OpenProblem(const Attempt& attempt, const QString& errorText) const;
    double StillShownUntil(const Deck& deck) const;
    void Connect(int deck);
    void OnStartFile(int deck);
    void OnArrived(int deck);
    void OnUnloading(int deck, double lastPosition);
    void OnEndFile(int deck, MpvPlayer::EndReason reason, const QString& errorText);
    void OnPropertyChanged(int deck, const QString& name, const QVariant& value);
    bool Idle() const;
    Deck& At(int deck) { return m_decks[std::size_t(deck)]; }
    void Finish();
    QString EntryName(std::size_t entry) const;

    std::array<Deck, 2> m_decks;
    int m_playing = -1; // the deck whose entry plays, or -1
    AsxPlaylist m_playlist;
    QString m_folder;
    bool m_reporting;
    // Where the search for the next reference to play goes on.
    std::size_t m_nextEntry = 0;
    std::size_t m_nextRef = 0;
    bool m_quitting = false;
    bool m_finished = false;
    bool m_begun = false;  // some entry started playing
    QElapsedTimer m_shown; // since the playing entry started
    PlayReport m_report;
};

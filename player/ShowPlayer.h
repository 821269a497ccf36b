#pragma once
// Plays the entries of a playlist one after another on one MpvPlayer, each from its start
// time for its duration. Entries whose file is missing are skipped with a notice.
#include "player/AsxPlaylist.h"
#include "player/PlayReport.h"

#include <QObject>
#include <QString>
#include <vector>

class MpvPlayer;

class ShowPlayer : public QObject
{
    Q_OBJECT
public:
    // player is borrowed; relative references are relative to playlistFolder (a host path).
    // With reporting, each entry is held at its first frame until its position is known.
    ShowPlayer(MpvPlayer* player, AsxPlaylist playlist, const QString& playlistFolder,
               bool reporting, QObject* parent = nullptr);

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
    struct Item {
        int entry;
        QString hostPath; // empty when no reference of the entry names an existing file
    };

    QString HostPathOf(const std::string& href) const;
    QString FindPlayable(const AsxEntry& entry) const;
    void AnnounceSkippedUpTo(std::size_t end);
    void OnStartFile();
    void OnPlaybackRestart();
    void OnPositionReply(double position);
    void OnUnloading(double lastPosition);
    void OnEndFile(bool failed, const QString& errorText);
    void Finish();
    QString EntryName(std::size_t item) const;

    MpvPlayer* m_player;
    AsxPlaylist m_playlist;
    QString m_folder;
    bool m_reporting;
    std::vector<Item> m_items;
    std::vector<std::size_t> m_queued; // items handed to the player, in order
    std::size_t m_started = 0;         // of m_queued
    std::size_t m_ended = 0;           // of m_queued
    std::size_t m_announced = 0;       // items before this one are started or announced
    int m_current = -1;                // item playing
    double m_firstPosition;
    bool m_quitting = false;
    bool m_finished = false;
    PlayReport m_report;
};

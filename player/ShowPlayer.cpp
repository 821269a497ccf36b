#include "player/ShowPlayer.h"

#include "player/RefTarget.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr double Unknown = std::numeric_limits<double>::quiet_NaN();

QVariantMap FileOptions(double start, double duration, bool holdAtStart)
{
    QVariantMap options;
    if (start >= 0)
        options.insert("start", QString::number(start, 'f', 3));
    if (duration >= 0) {
        options.insert("length", QString::number(duration, 'f', 3));
        // A section of a single frame looks like a still picture to the media library, which
        // would hold it for a second.
        options.insert("image-display-duration", QString::number(duration, 'f', 3));
    }
    if (holdAtStart)
        options.insert("pause", "yes");
    return options;
}
} // namespace

ShowPlayer::ShowPlayer(MpvPlayer* player, AsxPlaylist playlist, const QString& playlistFolder,
                       bool reporting, QObject* parent)
    : QObject(parent), m_player(player), m_playlist(std::move(playlist)), m_folder(playlistFolder),
      m_reporting(reporting), m_firstPosition(Unknown)
{
    connect(m_player, &MpvPlayer::StartFile, this, &ShowPlayer::OnStartFile);
    connect(m_player, &MpvPlayer::PlaybackRestart, this, &ShowPlayer::OnPlaybackRestart);
    connect(m_player, &MpvPlayer::PositionReply, this, &ShowPlayer::OnPositionReply);
    if (m_reporting)
        connect(m_player, &MpvPlayer::Unloading, this, &ShowPlayer::OnUnloading);
    connect(m_player, &MpvPlayer::EndFile, this, &ShowPlayer::OnEndFile);
    connect(m_player, &MpvPlayer::PropertyChanged, this, &ShowPlayer::OnPropertyChanged);
}

QVariantMap ShowPlayer::PlayerOptions()
{
    // Gapless audio would let a file that waits paused at its start never report it; the next
    // file is opened while one plays, so that entries follow each other closely. Some formats
    // (MPEG program streams) seek to a point after the one asked for, which would cut the start
    // of an entry: the exact seek sets out from a second earlier.
    return {{"gapless-audio", "no"}, {"prefetch-playlist", "yes"}, {"hr-seek-demuxer-offset", "1"}};
}

void ShowPlayer::Play()
{
    for (const QString& notice : m_playlist.notices)
        emit Notice(notice);
    Feed();
}

void ShowPlayer::Quit()
{
    m_quitting = true;
    m_player->Stop();
    if (!m_current)
        Finish();
}

void ShowPlayer::SeekBy(double seconds)
{
    const double position = m_player->TimePos();
    if (!m_current || std::isnan(position))
        return;
    const double first = std::max(m_current->start, 0.0);
    const double last =
        m_current->duration >= 0 ? first + m_current->duration : m_player->Duration();
    double target = std::max(position + seconds, first);
    if (!std::isnan(last))
        target = std::min(target, last);
    m_player->SeekAbsolute(target);
}

QString ShowPlayer::EntryName(std::size_t entry) const
{
    const std::string& title = m_playlist.entries[entry].title;
    return title.empty() ? tr("Entry %1").arg(entry + 1) : QString::fromStdString(title);
}

// The next reference that may be played, from where the search stopped; what is passed over on
// the way is told.
std::optional<ShowPlayer::Attempt> ShowPlayer::NextAttempt()
{
    for (; m_nextEntry < m_playlist.entries.size(); ++m_nextEntry, m_nextRef = 0) {
        const AsxEntry& entry = m_playlist.entries[m_nextEntry];
        if (entry.refs.empty() && entry.duration != 0.0)
            emit Notice(tr("Skipped %1: it names no file.").arg(EntryName(m_nextEntry)));
        for (; m_nextRef < entry.refs.size(); ++m_nextRef) {
            const AsxRef& ref = entry.refs[m_nextRef];
            Attempt attempt{m_nextEntry,
                            m_nextRef,
                            {},
                            ref.start >= 0 ? ref.start : entry.start,
                            ref.duration >= 0 ? ref.duration : entry.duration};
            // A section of no length has nothing to show.
            if (attempt.duration == 0.0)
                continue;
            const RefTarget target = RefTarget::Resolve(ref.href, m_folder);
            if (!target.m_problem.isEmpty()) {
                GiveUp(attempt, target.m_problem);
                continue;
            }
            attempt.target = target.m_target;
            ++m_nextEntry;
            m_nextRef = 0;
            return attempt;
        }
    }
    return std::nullopt;
}

// Tells why a reference is not played.
void ShowPlayer::GiveUp(const Attempt& attempt, const QString& problem)
{
    const bool last = attempt.ref + 1 >= m_playlist.entries[attempt.entry].refs.size();
    const QString name = EntryName(attempt.entry);
    emit Notice(last ? tr("Skipped %1: %2.").arg(name, problem)
                     : tr("%1: %2; its next reference is tried.").arg(name, problem));
}

// A reference the player could not open gives way to the entry's next one. Nothing has been
// handed on after it yet (see OnPlaybackRestart), so the search can step back.
void ShowPlayer::RollOver(const Attempt& attempt, const QString& problem)
{
    GiveUp(attempt, problem);
    m_nextEntry = attempt.entry;
    m_nextRef = attempt.ref + 1;
}

// Hands the player the next reference, unless one is waiting already; ends the show when
// nothing is left to play.
void ShowPlayer::Feed()
{
    if (m_quitting || m_finished || m_handed || m_draining)
        return;
    m_handed = NextAttempt();
    if (m_handed)
        m_player->LoadFile(m_handed->target,
                           FileOptions(m_handed->start, m_handed->duration, m_reporting));
    else if (!m_current)
        QMetaObject::invokeMethod(this, &ShowPlayer::Finish, Qt::QueuedConnection);
}

void ShowPlayer::OnStartFile()
{
    if (m_draining || !m_handed)
        return;
    m_current = std::move(m_handed);
    m_handed.reset();
    m_restarted = false;
    m_firstPosition = Unknown;
    // Entries played are dropped from the player's own list, which would otherwise grow with
    // the show.
    m_player->Command(QStringList{"playlist-clear"});
    const QString entryTitle = EntryName(m_current->entry);
    emit TitleChanged(m_playlist.title.empty()
                          ? entryTitle
                          : entryTitle + " - " + QString::fromStdString(m_playlist.title));
}

void ShowPlayer::OnPlaybackRestart()
{
    if (!m_current || m_restarted)
        return;
    m_restarted = true;
    if (m_reporting)
        m_player->RequestPosition();
    // The next one is handed over only now: until its first frame, this one may still fail and
    // give way to the entry's next reference.
    Feed();
}

void ShowPlayer::OnPositionReply(double position)
{
    if (!m_reporting || !m_current || !std::isnan(m_firstPosition))
        return;
    m_firstPosition = position;
    m_player->SetPause(false);
}

void ShowPlayer::OnUnloading(double lastPosition)
{
    if (m_current && !std::isnan(m_firstPosition) && !std::isnan(lastPosition))
        m_report.Add(m_current->target, m_firstPosition, lastPosition);
}

void ShowPlayer::OnEndFile(MpvPlayer::EndReason reason, const QString& errorText)
{
    if (!m_current)
        return;
    const Attempt ended = *m_current;
    m_current.reset();
    if (m_quitting) {
        Finish();
        return;
    }
    if (reason == MpvPlayer::EndReason::Redirect) {
        RollOver(ended, RefTarget::PlaylistProblem(ended.target));
        m_draining = true;
        m_player->Stop();
        return;
    }
    if (reason == MpvPlayer::EndReason::Error && !m_restarted)
        RollOver(ended, tr("\"%1\" cannot be played (%2)").arg(ended.target, errorText));
    Feed();
}

// Once what a playlist reference queued has been stopped, the show goes on.
void ShowPlayer::OnPropertyChanged(const QString& name, const QVariant& value)
{
    if (m_draining && name == "idle-active" && value.toBool()) {
        m_draining = false;
        Feed();
    }
}

void ShowPlayer::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    emit Finished();
}

#include "player/ShowPlayer.h"

#include "player/RefTarget.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace
{
// An address that has not shown its first frame by then is given up. The media library's own
// network waits, which also end a stream that stalls later, end a second after, so that the
// notice says what happened.
constexpr int NetworkTimeoutSeconds = 4;
constexpr int LibraryTimeoutSeconds = NetworkTimeoutSeconds + 1;
// How long a still picture without a duration is shown.
constexpr double StillSeconds = 1.0;
// Marks are kept to the millisecond.
constexpr double MarkPrecision = 0.001;

// Every reference is opened held at its first frame, which shows until its turn comes; the
// entry's start and end are set once it is open (see EntryStart).
QVariantMap FileOptions(double duration)
{
    QVariantMap options{{"pause", "yes"}};
    // A section of a single frame looks like a still picture to the media library, which would
    // hold it for as long as a still.
    options.insert("image-display-duration",
                   QString::number(duration >= 0 ? duration : StillSeconds, 'f', 3));
    return options;
}
} // namespace

ShowPlayer::ShowPlayer(std::array<MpvPlayer*, 2> players, AsxPlaylist playlist,
                       const QString& playlistFolder, bool reporting, QObject* parent)
    : QObject(parent), m_playlist(std::move(playlist)), m_folder(playlistFolder),
      m_reporting(reporting)
{
    for (int deck = 0; deck < 2; ++deck) {
        At(deck).player = players[std::size_t(deck)];
        At(deck).start = new EntryStart(At(deck).player, this);
        At(deck).opening = new QTimer(this);
        At(deck).opening->setSingleShot(true);
        At(deck).opening->setInterval(NetworkTimeoutSeconds * 1000);
        connect(At(deck).opening, &QTimer::timeout, this, [this, deck] {
            if (const Deck& opening = At(deck); opening.attempt)
                Fail(deck, tr("\"%1\" did not answer within %2 s")
                               .arg(opening.attempt->target)
                               .arg(NetworkTimeoutSeconds));
        });
        Connect(deck);
    }
}

void ShowPlayer::Connect(int deck)
{
    MpvPlayer* player = At(deck).player;
    connect(player, &MpvPlayer::StartFile, this, [this, deck] { OnStartFile(deck); });
    connect(At(deck).start, &EntryStart::Arrived, this, [this, deck] { OnArrived(deck); });
    connect(At(deck).start, &EntryStart::PastTheEnd, this,
            [this, deck] { Fail(deck, LateStart(*At(deck).attempt)); });
    if (m_reporting)
        connect(player, &MpvPlayer::Unloading, this,
                [this, deck](double last) { OnUnloading(deck, last); });
    connect(player, &MpvPlayer::EndFile, this,
            [this, deck](MpvPlayer::EndReason reason, const QString& errorText) {
                OnEndFile(deck, reason, errorText);
            });
    connect(player, &MpvPlayer::PropertyChanged, this,
            [this, deck](const QString& name, const QVariant& value) {
                OnPropertyChanged(deck, name, value);
            });
}

QVariantMap ShowPlayer::PlayerOptions()
{
    // Gapless audio would let a file that waits paused at its start never report it. Without
    // a sound device, sound plays to nowhere rather than keeping its entry from playing.
    // A server that accepts a connection and never answers is given up on: rtsp takes its
    // timeout (in microseconds) from the demuxer's options.
    QVariantMap options{
        {"gapless-audio", "no"},
        {"audio-fallback-to-null", "yes"},
        {"network-timeout", QString::number(LibraryTimeoutSeconds)},
        {"demuxer-lavf-o", QString("timeout=%1").arg(LibraryTimeoutSeconds * 1000000)}};
    options.insert(EntryStart::PlayerOptions());
    return options;
}

void ShowPlayer::Play()
{
    for (const QString& notice : m_playlist.notices)
        emit Notice(notice);
    Advance();
}

void ShowPlayer::Quit()
{
    // A window closed once the show has ended on its own leaves nothing to quit.
    if (m_finished)
        return;
    m_quitting = true;
    for (Deck& deck : m_decks)
        deck.player->Stop();
    if (Idle())
        Finish();
}

void ShowPlayer::TogglePause()
{
    if (m_playing >= 0)
        At(m_playing).player->TogglePause();
}

void ShowPlayer::SeekBy(double seconds)
{
    if (m_playing < 0)
        return;
    const Deck& deck = At(m_playing);
    const double position = deck.player->TimePos();
    if (std::isnan(position))
        return;
    const double first = deck.start->FirstPicture() + std::max(deck.attempt->start, 0.0);
    const double last = deck.attempt->duration >= 0
                            ? first + deck.attempt->duration
                            : deck.start->FirstPicture() + deck.player->Duration();
    double target = std::max(position + seconds, first);
    if (!std::isnan(last))
        target = std::min(target, last);
    deck.player->SeekAbsolute(target);
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
// handed on after it yet (see Feed), so the search can step back.
void ShowPlayer::RollOver(const Attempt& attempt, const QString& problem)
{
    GiveUp(attempt, problem);
    m_nextEntry = attempt.entry;
    m_nextRef = attempt.ref + 1;
}

// Starts the entry held ready when none plays, and hands the next reference to a free player.
void ShowPlayer::Advance()
{
    if (m_quitting || m_finished)
        return;
    if (m_playing < 0)
        for (int deck = 0; deck < 2; ++deck)
            if (At(deck).ready) {
                Begin(deck);
                break;
            }
    Feed();
}

// A free player takes the next reference only when no other is still opening one: until its
// first frame, that one may fail and give way to its entry's next reference. The show ends
// when nothing is left to play.
void ShowPlayer::Feed()
{
    Deck* free = nullptr;
    for (Deck& deck : m_decks) {
        if (deck.stoppingPlaylist || (deck.attempt && !deck.ready))
            return;
        if (!deck.attempt)
            free = &deck;
    }
    if (!free)
        return;
    free->attempt = NextAttempt();
    if (free->attempt) {
        free->start->Expect(free->attempt->start, free->attempt->duration);
        free->player->LoadFile(free->attempt->target, FileOptions(free->attempt->duration));
        if (RefTarget::IsAddress(free->attempt->target))
            free->opening->start();
    } else if (Idle()) {
        QMetaObject::invokeMethod(this, &ShowPlayer::Finish, Qt::QueuedConnection);
    }
}

void ShowPlayer::Begin(int deck)
{
    m_playing = deck;
    m_begun = true;
    m_shown.start();
    const Deck& playing = At(deck);
    playing.player->SetPause(false);
    emit PlayerShown(deck);
    const QString entryTitle = EntryName(playing.attempt->entry);
    emit TitleChanged(m_playlist.title.empty()
                          ? entryTitle
                          : entryTitle + " - " + QString::fromStdString(m_playlist.title));
}

void ShowPlayer::OnStartFile(int deck)
{
    // Files played are dropped from the player's own list, which would otherwise grow with
    // the show.
    if (const Deck& opened = At(deck); opened.attempt)
        opened.player->Command(QStringList{"playlist-clear"});
}

void ShowPlayer::OnArrived(int deck)
{
    Deck& opened = At(deck);
    if (!opened.attempt || opened.ready || !opened.failure.isEmpty())
        return;
    opened.ready = true;
    opened.opening->stop();
    Advance();
}

QString ShowPlayer::LateStart(const Attempt& attempt) const
{
    return tr("\"%1\" ends before its start time of %2 s")
        .arg(attempt.target, QString::number(attempt.start, 'f', 3));
}

// Stops a reference that has not shown its first frame; it gives way once it has ended.
void ShowPlayer::Fail(int deck, const QString& problem)
{
    Deck& failing = At(deck);
    if (!failing.attempt || failing.ready || !failing.failure.isEmpty())
        return;
    failing.failure = problem;
    failing.opening->stop();
    failing.player->Stop();
}

void ShowPlayer::OnUnloading(int deck, double lastPosition)
{
    const Deck& ending = At(deck);
    const double first = ending.start->FirstPicture();
    const double started = ending.start->StartPicture() - first;
    const double last =
        (ending.player->IsStillPicture() ? StillShownUntil(ending) : lastPosition) - first;
    if (deck == m_playing && std::isfinite(started) && std::isfinite(last))
        m_report.Add(ending.attempt->target, started, last,
                     LastPicture(*ending.attempt, started, last));
}

// Sound plays on past the last picture to the entry's end, and after a gap in the timestamps
// the position is that of the picture after the end: the last picture shown is the one before
// the end, or the first one where the start fell into a gap that reaches past the end.
double ShowPlayer::LastPicture(const Attempt& attempt, double started, double lastPosition) const
{
    if (attempt.duration < 0)
        return lastPosition;
    const double end = std::max(attempt.start, 0.0) + attempt.duration;
    return std::max(started, std::min(lastPosition, end - MarkPrecision));
}

// A still picture keeps its position while it is shown: it was shown for its display time, or
// less when the show was left early.
double ShowPlayer::StillShownUntil(const Deck& deck) const
{
    const double shown = deck.attempt->duration >= 0 ? deck.attempt->duration : StillSeconds;
    return deck.start->StartPicture() + std::min(shown, double(m_shown.elapsed()) / 1000);
}

void ShowPlayer::OnEndFile(int deck, MpvPlayer::EndReason reason, const QString& errorText)
{
    Deck& ending = At(deck);
    if (!ending.attempt)
        return;
    const Attempt ended = *ending.attempt;
    const bool started = ending.ready;
    QString failure = std::exchange(ending.failure, QString());
    if (failure.isEmpty() && ending.start->IsSeeking())
        failure = LateStart(ended);
    ending.start->Forget();
    ending.attempt.reset();
    ending.ready = false;
    ending.opening->stop();
    if (m_playing == deck)
        m_playing = -1;
    if (m_quitting) {
        if (Idle())
            Finish();
        return;
    }
    if (reason == MpvPlayer::EndReason::Redirect) {
        RollOver(ended, RefTarget::PlaylistProblem(ended.target));
        ending.stoppingPlaylist = true;
        ending.player->Stop();
        return;
    }
    if (!started && !failure.isEmpty())
        RollOver(ended, failure);
    else if (reason == MpvPlayer::EndReason::Error && !started)
        RollOver(ended, OpenProblem(ended, errorText));
    Advance();
}

// What the media library says of an address that failed ("unrecognized file format", "loading
// failed") tells a person nothing: the server is what failed.
QString ShowPlayer::OpenProblem(const Attempt& attempt, const QString& errorText) const
{
    if (RefTarget::IsAddress(attempt.target))
        return tr("\"%1\" could not be opened: the server cannot be reached, refused the "
                  "connection or sent no movie")
            .arg(attempt.target);
    return tr("\"%1\" cannot be played (%2)").arg(attempt.target, errorText);
}

// Once what a playlist reference queued has been stopped, the show goes on.
void ShowPlayer::OnPropertyChanged(int deck, const QString& name, const QVariant& value)
{
    Deck& stopping = At(deck);
    if (stopping.stoppingPlaylist && name == "idle-active" && value.toBool()) {
        stopping.stoppingPlaylist = false;
        Advance();
    }
}

// Neither player has anything to play.
bool ShowPlayer::Idle() const
{
    return !m_decks[0].attempt && !m_decks[1].attempt;
}

void ShowPlayer::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    emit Finished();
}

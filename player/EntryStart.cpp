#include "player/EntryStart.h"

#include "platform/media/MpvPlayer.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// The demuxers of MPEG program and transport streams and of elementary streams look for a time
// among timestamps, not among key pictures, and start decoding after the picture asked for now
// and then: the media library then shows a later picture and may even give it the wanted time.
// Reading from this much earlier finds a key picture before it.
const QStringList LateSeekingFormats{"mpeg", "mpegts", "mpegvideo", "m4v"};
constexpr double LateSeekMargin = 2.0;
// The media library may show a picture this much before the start asked for; more, and the
// movie does not reach the start.
constexpr double StartSlack = 0.25;
} // namespace

EntryStart::EntryStart(MpvPlayer* player, QObject* parent) : QObject(parent), m_player(player)
{
    connect(player, &MpvPlayer::PlaybackRestart, this, &EntryStart::OnPlaybackRestart);
    connect(player, &MpvPlayer::PropertyReply, this, [this](const QString&, const QVariant& value) {
        if (TakeReply() && m_stage == Stage::Opening)
            m_format = value.toString();
    });
    connect(player, &MpvPlayer::PositionReply, this, &EntryStart::OnPositionReply);
}

QVariantMap EntryStart::PlayerOptions()
{
    // Times on the container's own clock, so that the first picture's time can be taken as zero.
    return {{"rebase-start-time", "no"}};
}

void EntryStart::Expect(double start, double duration)
{
    m_stage = Stage::Opening;
    m_start = start;
    m_duration = duration;
    m_format.clear();
    m_firstPicture = m_startPicture = std::numeric_limits<double>::quiet_NaN();
    m_stale = m_unanswered;
}

// Every picture the player settles on while the entry is being started is asked where it lies.
void EntryStart::OnPlaybackRestart()
{
    if (m_stage == Stage::Idle || m_stage == Stage::Arrived)
        return;
    if (m_stage == Stage::Opening) {
        m_player->RequestProperty("file-format");
        ++m_unanswered;
    }
    m_player->RequestPosition();
    ++m_unanswered;
}

// False for an answer about a file played before.
bool EntryStart::TakeReply()
{
    --m_unanswered;
    if (m_stale == 0)
        return true;
    --m_stale;
    return false;
}

void EntryStart::OnPositionReply(double position)
{
    if (!TakeReply())
        return;
    switch (m_stage) {
    case Stage::Opening:
        FindFirst(position);
        break;
    case Stage::FindingFirst:
        SeekStart(position);
        break;
    case Stage::Seeking:
        Arrive(position);
        break;
    default:
        break;
    }
}

// The player opened the file on its first picture.
void EntryStart::FindFirst(double position)
{
    // A still picture, or a stream without times, stays where it is.
    if (m_player->IsStillPicture() || !std::isfinite(position)) {
        m_firstPicture = std::isfinite(position) ? position : 0.0;
        Arrive(position);
        return;
    }
    if (!LateSeekingFormats.contains(m_format)) {
        SeekStart(position);
        return;
    }
    m_player->SetProperty("file-local-options/hr-seek-demuxer-offset", LateSeekMargin);
    // Where the pictures carry no times (elementary streams), the media library's count after a
    // seek differs from the one it opened with: the first picture is sought like any other.
    m_stage = Stage::FindingFirst;
    m_player->SeekAbsolute(position);
}

void EntryStart::SeekStart(double firstPicture)
{
    m_firstPicture = firstPicture;
    if (!(m_start > 0)) {
        Arrive(firstPicture);
        return;
    }
    // A start past the end ends the file, or shows the last picture (see Arrive); the length is
    // no guide, being a guess for movies without timestamps.
    m_stage = Stage::Seeking;
    m_player->SeekAbsolute(firstPicture + m_start);
}

void EntryStart::Arrive(double position)
{
    if (m_stage == Stage::Seeking && !(position - m_firstPicture >= m_start - StartSlack)) {
        m_stage = Stage::Idle;
        emit PastTheEnd();
        return;
    }
    m_startPicture = position;
    m_stage = Stage::Arrived;
    if (m_duration >= 0)
        m_player->SetProperty(
            "file-local-options/end",
            QString::number(m_firstPicture + std::max(m_start, 0.0) + m_duration, 'f', 6));
    emit Arrived();
}

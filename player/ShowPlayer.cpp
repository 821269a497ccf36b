#include "player/ShowPlayer.h"

#include "platform/files/HostPath.h"
#include "platform/media/MpvPlayer.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr double Unknown = std::numeric_limits<double>::quiet_NaN();

QVariantMap FileOptions(const AsxEntry& entry, bool holdAtStart)
{
    QVariantMap options;
    if (entry.start >= 0)
        options.insert("start", QString::number(entry.start, 'f', 3));
    if (entry.duration >= 0)
        options.insert("length", QString::number(entry.duration, 'f', 3));
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
    connect(m_player, &MpvPlayer::Unloading, this, &ShowPlayer::OnUnloading);
    connect(m_player, &MpvPlayer::EndFile, this,
            [this](MpvPlayer::EndReason reason, const QString& errorText) {
                OnEndFile(reason == MpvPlayer::EndReason::Error, errorText);
            });
}

// References are program paths; those that are not absolute are relative to the playlist.
QString ShowPlayer::HostPathOf(const std::string& href) const
{
    if (href.find("://") != std::string::npos)
        return QString::fromStdString(href);
    return QDir(m_folder).filePath(QString::fromStdString(ToHostPath(CString(href))));
}

QString ShowPlayer::FindPlayable(const AsxEntry& entry) const
{
    for (const std::string& href : entry.refs) {
        const QString path = HostPathOf(href);
        if (href.find("://") != std::string::npos || QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void ShowPlayer::Play()
{
    for (std::size_t i = 0; i < m_playlist.entries.size(); ++i) {
        const AsxEntry& entry = m_playlist.entries[i];
        // An entry of no length has nothing to show.
        if (entry.duration == 0.0)
            continue;
        m_items.push_back({int(i), FindPlayable(entry)});
        if (m_items.back().hostPath.isEmpty())
            continue;
        m_queued.push_back(m_items.size() - 1);
        m_player->LoadFile(m_items.back().hostPath, FileOptions(entry, m_reporting));
    }
    if (m_queued.empty())
        QMetaObject::invokeMethod(this, &ShowPlayer::Finish, Qt::QueuedConnection);
}

void ShowPlayer::Quit()
{
    m_quitting = true;
    m_player->Stop();
    if (m_started == m_ended)
        Finish();
}

void ShowPlayer::SeekBy(double seconds)
{
    const double position = m_player->TimePos();
    if (m_current < 0 || std::isnan(position))
        return;
    const AsxEntry& entry = m_playlist.entries[std::size_t(m_items[std::size_t(m_current)].entry)];
    const double first = std::max(entry.start, 0.0);
    const double last = entry.duration >= 0 ? first + entry.duration : m_player->Duration();
    double target = std::max(position + seconds, first);
    if (!std::isnan(last))
        target = std::min(target, last);
    m_player->SeekAbsolute(target);
}

QString ShowPlayer::EntryName(std::size_t item) const
{
    const int entry = m_items[item].entry;
    const std::string& title = m_playlist.entries[std::size_t(entry)].title;
    return title.empty() ? tr("Entry %1").arg(entry + 1) : QString::fromStdString(title);
}

void ShowPlayer::AnnounceSkippedUpTo(std::size_t end)
{
    for (; m_announced < end; ++m_announced) {
        if (!m_items[m_announced].hostPath.isEmpty())
            continue;
        const AsxEntry& entry = m_playlist.entries[std::size_t(m_items[m_announced].entry)];
        const QString file =
            entry.refs.empty() ? tr("(no file named)") : QString::fromStdString(entry.refs.front());
        emit Notice(tr("Skipped %1: the file %2 is missing.").arg(EntryName(m_announced), file));
    }
}

void ShowPlayer::OnStartFile()
{
    if (m_started >= m_queued.size())
        return;
    const std::size_t item = m_queued[m_started++];
    AnnounceSkippedUpTo(item);
    m_announced = item + 1;
    m_current = int(item);
    m_firstPosition = Unknown;
    const QString entryTitle = EntryName(item);
    emit TitleChanged(m_playlist.title.empty()
                          ? entryTitle
                          : entryTitle + " - " + QString::fromStdString(m_playlist.title));
}

void ShowPlayer::OnPlaybackRestart()
{
    if (m_reporting && m_current >= 0 && std::isnan(m_firstPosition))
        m_player->RequestPosition();
}

void ShowPlayer::OnPositionReply(double position)
{
    if (!m_reporting || m_current < 0 || !std::isnan(m_firstPosition))
        return;
    m_firstPosition = position;
    m_player->SetPause(false);
}

void ShowPlayer::OnUnloading(double lastPosition)
{
    if (m_current >= 0 && !std::isnan(m_firstPosition) && !std::isnan(lastPosition))
        m_report.Add(m_items[std::size_t(m_current)].hostPath, m_firstPosition, lastPosition);
}

void ShowPlayer::OnEndFile(bool failed, const QString& errorText)
{
    if (failed && m_current >= 0) {
        emit Notice(tr("Skipped %1: %2 cannot be played (%3).")
                        .arg(EntryName(std::size_t(m_current)),
                             m_items[std::size_t(m_current)].hostPath, errorText));
    }
    m_current = -1;
    if (++m_ended == m_queued.size() || m_quitting)
        Finish();
}

void ShowPlayer::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_quitting)
        AnnounceSkippedUpTo(m_items.size());
    emit Finished();
}

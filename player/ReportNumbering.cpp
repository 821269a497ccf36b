#include "player/ReportNumbering.h"

#include "player/RefTarget.h"

namespace
{
// Pictures are not looked at; the smallest size keeps the first one's decode cheap.
const QSize PictureSize(16, 16);
} // namespace

ReportNumbering::ReportNumbering(PlayReport& report, QObject* parent)
    : QObject(parent), m_report(report)
{
    connect(&m_frames, &FrameServer::Opened, this, &ReportNumbering::OnOpened);
}

void ReportNumbering::Start()
{
    // Local files only: an address would be fetched again, and may be gone.
    for (const PlayReport::Line& line : m_report.Lines())
        if (!RefTarget::IsAddress(line.hostPath) && !m_movies.contains(line.hostPath))
            m_movies.append(line.hostPath);
    NumberNext();
}

void ReportNumbering::NumberNext()
{
    if (m_movies.isEmpty()) {
        // Queued, so that a caller may connect after Start.
        QMetaObject::invokeMethod(this, &ReportNumbering::Finished, Qt::QueuedConnection);
        return;
    }
    m_frames.OpenAsync(m_movies.front(), PictureSize);
}

// A movie that cannot be numbered, or has no pictures, keeps "-".
void ReportNumbering::OnOpened(bool ok)
{
    const QString movie = m_movies.takeFirst();
    if (ok && m_frames.HasVideo()) {
        for (PlayReport::Line& line : m_report.Lines()) {
            if (line.hostPath != movie)
                continue;
            line.firstFrame = m_frames.FrameAtTime(line.firstPosition);
            line.lastFrame = m_frames.FrameAtTime(line.lastPicture);
        }
    }
    m_frames.Close();
    NumberNext();
}

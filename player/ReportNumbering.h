#pragma once
// Gives a show's report the numbers of the pictures it showed. Numbering a movie reads all its
// packets, and some movies need a decode from the start, so it is done only for a report, after
// the show, one movie at a time on the frame server's worker thread.
#include "platform/media/FrameServer.h"
#include "player/PlayReport.h"

#include <QObject>
#include <QStringList>

class ReportNumbering : public QObject
{
    Q_OBJECT
public:
    // The report is borrowed and must outlive the numbering.
    explicit ReportNumbering(PlayReport& report, QObject* parent = nullptr);

    // Finished follows, also when there is nothing to number.
    void Start();

signals:
    void Finished();

private:
    void NumberNext();
    void OnOpened(bool ok);

    PlayReport& m_report;
    FrameServer m_frames;
    QStringList m_movies; // still to be numbered, the one being numbered first
};

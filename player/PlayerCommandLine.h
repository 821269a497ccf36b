#pragma once
// The player's command line: "mplayer2 [--headless] [--report FILE] PLAYLIST", or
// "mplayer2 --register" to record where the player is installed. Without a
// screen (--headless, or REELMIX_PLAYER_HEADLESS set to anything but "" or "0") there is neither
// picture nor sound nor window.
#include <QString>
#include <QStringList>

class PlayerCommandLine
{
public:
    // arguments without the program name; environmentHeadless is $REELMIX_PLAYER_HEADLESS.
    bool Parse(const QStringList& arguments, const QString& environmentHeadless);

    QString m_playlist;
    QString m_reportPath;
    bool m_headless = false;
    bool m_register = false;
    QString m_error;

    static QString Usage();
};

#include "player/PlayerCommandLine.h"

#include <QObject>

bool PlayerCommandLine::Parse(const QStringList& arguments, const QString& environmentHeadless)
{
    m_headless = !environmentHeadless.isEmpty() && environmentHeadless != "0";
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--headless") {
            m_headless = true;
        } else if (argument == "--register" && arguments.size() == 1) {
            m_register = true;
            return true;
        } else if (argument == "--report" && i + 1 < arguments.size()) {
            m_reportPath = arguments[++i];
        } else if (argument.startsWith("--") || !m_playlist.isEmpty()) {
            m_error = QObject::tr("Unexpected argument \"%1\".").arg(argument);
            return false;
        } else {
            m_playlist = argument;
        }
    }
    if (m_playlist.isEmpty()) {
        m_error = QObject::tr("No playlist given.");
        return false;
    }
    return true;
}

QString PlayerCommandLine::Usage()
{
    return QObject::tr("Usage: mplayer2 [--headless] [--report FILE] PLAYLIST.asx\n"
                       "       mplayer2 --register");
}

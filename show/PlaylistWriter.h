#pragma once
// "Play Show!": writes the rows of the clip list as the ASX playlist "Reelmix.asx" in the
// current directory and starts the show player with it: the registered one, else the one
// installed with the program.
#include "platform/core/CString.h"

#include <cstdint>
#include <vector>

class CStdioFile;
class Clip;

class PlaylistWriter
{
public:
    // The clip list's rows in row order; a row without a clip is null.
    using Rows = std::vector<const Clip*>;

    PlaylistWriter() = delete;

    // The whole command: the empty-show message, the playlist, the player and its failure
    // message, under the wait cursor.
    static void OnPlayShow(const Rows& rows);
    // Throws CFileException when the playlist cannot be written.
    static void WritePlaylist(const Rows& rows);
    static void WritePlaylistEntries(CStdioFile& file, const Rows& rows);

    // hhhh:mm:ss.mmm of a millisecond count.
    static CString FormatTime(std::int64_t milliseconds);
    // Seconds to whole milliseconds, truncated toward zero, saturating instead of overflowing.
    static std::int64_t ToMilliseconds(double seconds);
    // The player's installation directory from the settings, "\mplayer2.exe Reelmix.asx".
    static CString PlayerCommandLine();

private:
    static void WriteEntry(CStdioFile& file, const Clip& clip, int row, int rowCount);
    static bool StartInstalledPlayer();
    // program: null to take it from the head of commandLine.
    static bool StartPlayer(const char* program, const CString& commandLine);
};

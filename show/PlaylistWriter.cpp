#include "show/PlaylistWriter.h"

#include "platform/files/CStdioFile.h"
#include "platform/files/HostPath.h"
#include "platform/files/InstallFolders.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/process/WinProcess.h"
#include "platform/registry/WinReg.h"
#include "platform/windows/AfxMessageBox.h"
#include "show/Clip.h"
#include "util/MyRegistry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
const char* const kPlaylistName = "Reelmix.asx";
// A macro, so that the literals below can be joined at compile time.
#define REELMIX_WEB_ADDRESS "https://www.brantwell.com/reelmix"

const char* const kHeader = "<ASX VERSION=\"3.0\">\n"
                            "\n"
                            "<!-- Reelmix show playlist, written by Reelmix from Brantwell -->\n"
                            "<!-- More about Reelmix at " REELMIX_WEB_ADDRESS " -->\n"
                            "<!-- Copyright (C) 2026 Brantwell. All rights reserved. -->\n"
                            "\n"
                            "    <TITLE>Reelmix ASX File</TITLE>\n"
                            "    <AUTHOR>Reelmix Program</AUTHOR>\n"
                            "    <COPYRIGHT>Copyright (C) 2026 Brantwell</COPYRIGHT>\n"
                            "    <MOREINFO HREF=\"" REELMIX_WEB_ADDRESS "\" />\n"
                            "\n";

// Paths here may hold characters that no Windows path can, and that would end the markup
// early; '&' stays as it is, as players have always read it.
CString Escape(const CString& path)
{
    CString text = path;
    text.Replace("\"", "&quot;");
    text.Replace("<", "&lt;");
    text.Replace(">", "&gt;");
    return text;
}
} // namespace

void PlaylistWriter::OnPlayShow(const Rows& rows)
{
    if (rows.empty()) {
        AfxMessageBox("No Clips to display!  Use the Multi-Load button to load some Clips first!");
        return;
    }
    CWaitCursor wait;
    try {
        WritePlaylist(rows);
    } catch (const CException& error) {
        AfxMessageBox(error.GetErrorMessage(), MB_ICONEXCLAMATION);
        return;
    }
    if (!StartPlayer(nullptr, PlayerCommandLine()) && !StartInstalledPlayer()) {
        CString text = "Could not locate and run the Microsoft Windows Media Player.\n\n"
                       "You must download the latest version of the Microsoft Windows Media "
                       "Player for your version of Windows.  You can download it free of charge "
                       "from the Microsoft  Web site at ";
        AfxMessageBox(text + REELMIX_WEB_ADDRESS "/player" + " .");
    }
}

void PlaylistWriter::WritePlaylist(const Rows& rows)
{
    CStdioFile file(kPlaylistName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    file.WriteString(kHeader);
    WritePlaylistEntries(file, rows);
    file.WriteString("</ASX>\n");
    file.Close();
}

void PlaylistWriter::WritePlaylistEntries(CStdioFile& file, const Rows& rows)
{
    const int count = int(rows.size());
    for (int row = 0; row < count; ++row)
        if (rows[std::size_t(row)])
            WriteEntry(file, *rows[std::size_t(row)], row, count);
}

void PlaylistWriter::WriteEntry(CStdioFile& file, const Clip& clip, int row, int rowCount)
{
    // Written as the host spells it, so that any player on this system can open the file.
    const CString path = Escape(CString(ToHostPath(clip.GetFullPath())));
    CString text;
    text.Format("    <ENTRY>\n"
                "        <TITLE>Clip %d of %d</TITLE>\n"
                "        <ABSTRACT>%s</ABSTRACT>\n"
                "        <REF HREF=\"%s\" />\n",
                row + 1, rowCount, (const char*)path, (const char*)path);
    if (clip.m_start >= 0) {
        text +=
            "        <STARTTIME VALUE=\"" + FormatTime(ToMilliseconds(clip.m_start)) + "\" />\n";
        const std::int64_t duration = ToMilliseconds(clip.m_end - clip.m_start);
        if (duration >= 0)
            text += "        <DURATION VALUE=\"" + FormatTime(duration) + "\" />\n";
    }
    text += "    </ENTRY>\n\n";
    file.WriteString(text);
}

std::int64_t PlaylistWriter::ToMilliseconds(double seconds)
{
    const double ms = std::trunc(seconds * 1000.0);
    if (std::isnan(ms))
        return -1;                    // not a time at all: written like an unset mark
    constexpr double kLimit = 9.2e18; // below the largest 64-bit integer
    if (ms >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (ms <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(ms);
}

CString PlaylistWriter::FormatTime(std::int64_t t)
{
    const std::int64_t hours = t / 3600000;
    const std::int64_t rest = t - hours * 3600000;
    CString text;
    text.Format("%04lld:%02lld:%02lld.%03lld", (long long)hours, (long long)(rest / 60000),
                (long long)((rest % 60000) / 1000), (long long)(rest % 1000));
    return text;
}

CString PlaylistWriter::PlayerCommandLine()
{
    CString commandLine;
    MyRegistry key(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", true);
    if (key.IsOpen()) {
        key.ReadValueString("Installation Directory", commandLine);
        commandLine += "\\mplayer2.exe ";
    } else {
        commandLine = "mplayer2.exe ";
    }
    return commandLine + kPlaylistName;
}

// An installed Reelmix brings its own player; it plays when the settings name none that runs.
bool PlaylistWriter::StartInstalledPlayer()
{
    CString program;
    const QString hostPath = InstallFolders::Helpers() + "/mplayer2";
    return FromHostPath(hostPath.toStdString(), program) &&
           StartPlayer(program, CString("mplayer2 ") + kPlaylistName);
}

bool PlaylistWriter::StartPlayer(const char* program, const CString& commandLine)
{
    // The process call may write into its command line, and wants room for a full path.
    std::vector<char> buffer(std::size_t(std::max(commandLine.GetLength() + 1, MAX_PATH)), '\0');
    std::copy_n((const char*)commandLine, commandLine.GetLength(), buffer.begin());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program, buffer.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

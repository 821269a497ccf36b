#include "platform/process/WinExec.h"

#include "platform/core/WinError.h"
#include "platform/process/WinProcess.h"

#include <vector>

namespace
{
constexpr UINT kStarted = 33;

ProgramLauncher& Launcher()
{
    static ProgramLauncher launcher;
    return launcher;
}

UINT Start(const CString& commandLine, UINT show)
{
    std::vector<char> line(commandLine.Str().begin(), commandLine.Str().end());
    line.push_back('\0');
    STARTUPINFOA startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(show);
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       nullptr))
        return kStarted;
    switch (const DWORD error = GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
        return UINT(error);
    case ERROR_BAD_EXE_FORMAT:
        return ERROR_BAD_FORMAT;
    default:
        return 0;
    }
}
} // namespace

UINT WinExec(LPCSTR commandLine, UINT show)
{
    const CString line(commandLine);
    return Launcher() ? Launcher()(line, show) : Start(line, show);
}

ProgramLauncher SetProgramLauncher(ProgramLauncher launcher)
{
    ProgramLauncher previous = std::move(Launcher());
    Launcher() = std::move(launcher);
    return previous;
}

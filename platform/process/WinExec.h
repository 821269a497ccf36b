#pragma once
// Starting a program from one command line, as WinExec does: the program at the head of the
// line is found and started as CreateProcessA finds and starts it. The launcher can be
// replaced (tests put one in that records the command lines instead of starting anything).
#include "platform/core/CString.h"

#include <functional>

// Above 31 when the program was started; else 0 (out of resources), ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED or ERROR_BAD_FORMAT.
UINT WinExec(LPCSTR commandLine, UINT show);

using ProgramLauncher = std::function<UINT(const CString& commandLine, UINT show)>;
// Installs launcher in place of the process start (an empty one restores it) and returns the
// previous one.
ProgramLauncher SetProgramLauncher(ProgramLauncher launcher);

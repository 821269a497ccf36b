#pragma once
// Starting another program as Windows does it: CreateProcessA reads the program from the head
// of a Windows command line and hands the rest to the program as its arguments. The program
// runs on its own: it is never waited for and never left behind as a zombie.
#include "platform/core/WinTypes.h"

constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;

// Window placement hints for the new program; a desktop program here shows its own window, so
// only their presence matters.
struct STARTUPINFOA {
    DWORD cb = sizeof(STARTUPINFOA);
    DWORD dwFlags = 0;
    WORD wShowWindow = SW_SHOW;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// Starts the program named by applicationName, or else by the head of commandLine (a quoted
// path, or an unquoted one resolved by successively longer space-separated prefixes; a name
// without a folder is looked for on PATH). A missing "name.exe" that exists as "name" runs
// "name". The arguments after the head are split by the Windows rules and passed unchanged.
// environment is a block "A=1\0B=2\0\0" or null for this program's own; currentDirectory a
// program path or null for this program's own. IDLE_PRIORITY_CLASS runs the program at the
// lowest priority. Returns FALSE with GetLastError set when the program cannot be started;
// the handles in processInformation are released with CloseHandle.
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                    LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation);

BOOL CloseHandle(HANDLE handle);

#pragma once
// The process environment, read as the Windows kernel reports it.
#include "platform/core/WinTypes.h"

constexpr DWORD ERROR_ENVVAR_NOT_FOUND = 203;

// The value of name into buffer (size bytes, terminator included). Returns the value's length
// when it fits; otherwise the size needed including the terminator, leaving buffer untouched;
// 0 with ERROR_ENVVAR_NOT_FOUND when name is not defined.
DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);

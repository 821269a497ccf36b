#pragma once
// The system's descriptions of error codes, as the Windows message table words them, for the
// codes this platform layer sets. Each text ends with "\r\n", as system messages do.
#include "platform/core/WinTypes.h"

#include <cstdarg>

using HLOCAL = void*;
using LPCVOID = const void*;

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x0100;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x0200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x1000;

constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD SUBLANG_DEFAULT = 0x01;
constexpr DWORD MAKELANGID(WORD primary, WORD sub)
{
    return DWORD(sub) << 10 | primary;
}

constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;

// The text of messageId, which must come FORMAT_MESSAGE_FROM_SYSTEM. With
// FORMAT_MESSAGE_ALLOCATE_BUFFER, buffer is really a char** that receives a block to release
// with LocalFree; otherwise the text goes into buffer's size bytes. Returns the length without
// the terminator, or 0 with the last error ERROR_MR_MID_NOT_FOUND (no text for the code),
// ERROR_INSUFFICIENT_BUFFER or ERROR_INVALID_PARAMETER.
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, va_list* arguments);
// Releases a block from FormatMessageA; null on success.
HLOCAL LocalFree(HLOCAL block);

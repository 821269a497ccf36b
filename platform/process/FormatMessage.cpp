#include "platform/process/FormatMessage.h"

#include "platform/core/WinError.h"
#include "platform/files/Environment.h"

#include <cstdlib>
#include <cstring>

namespace
{
const char* SystemText(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return "The operation completed successfully.\r\n";
    case ERROR_FILE_NOT_FOUND:
        return "The system cannot find the file specified.\r\n";
    case ERROR_PATH_NOT_FOUND:
        return "The system cannot find the path specified.\r\n";
    case ERROR_ACCESS_DENIED:
        return "Access is denied.\r\n";
    case ERROR_INVALID_HANDLE:
        return "The handle is invalid.\r\n";
    case ERROR_NOT_ENOUGH_MEMORY:
        return "Not enough memory resources are available to process this command.\r\n";
    case ERROR_BAD_FORMAT:
        return "An attempt was made to load a program with an incorrect format.\r\n";
    case ERROR_NO_MORE_FILES:
        return "There are no more files.\r\n";
    case ERROR_SHARING_VIOLATION:
        return "The process cannot access the file because it is being used by another "
               "process.\r\n";
    case ERROR_INVALID_PARAMETER:
        return "The parameter is incorrect.\r\n";
    case ERROR_INSUFFICIENT_BUFFER:
        return "The data area passed to a system call is too small.\r\n";
    case ERROR_ENVVAR_NOT_FOUND:
        return "The system could not find the environment option that was entered.\r\n";
    case ERROR_MORE_DATA:
        return "More data is available.\r\n";
    case ERROR_NO_MORE_ITEMS:
        return "No more data is available.\r\n";
    case ERROR_MR_MID_NOT_FOUND:
        return "The system cannot find message text for message number 0x%1 in the message "
               "file for %2.\r\n";
    default:
        return nullptr;
    }
}

DWORD Fail(DWORD error)
{
    SetLastError(error);
    return 0;
}
} // namespace

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     va_list*)
{
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer)
        return Fail(ERROR_INVALID_PARAMETER);
    const char* text = SystemText(messageId);
    if (!text)
        return Fail(ERROR_MR_MID_NOT_FOUND);
    const std::size_t length = std::strlen(text);
    char* target = buffer;
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        target = static_cast<char*>(std::malloc(length + 1));
        if (!target)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        *reinterpret_cast<char**>(buffer) = target;
    } else if (length >= size) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(target, text, length + 1);
    return DWORD(length);
}

HLOCAL LocalFree(HLOCAL block)
{
    std::free(block);
    return nullptr;
}

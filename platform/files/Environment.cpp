#include "platform/files/Environment.h"

#include "platform/core/WinError.h"

#include <cstdlib>
#include <cstring>

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size)
{
    const char* value = name ? std::getenv(name) : nullptr;
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const std::size_t length = std::strlen(value);
    if (!buffer || length >= size)
        return DWORD(length + 1);
    std::memcpy(buffer, value, length + 1);
    return DWORD(length);
}

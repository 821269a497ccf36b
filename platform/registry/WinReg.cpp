#include "platform/registry/WinReg.h"

#include "platform/registry/RegistryStore.h"

#include <cstring>

namespace
{

RegistryStore& Store()
{
    return RegistryStore::ForProcess();
}

// Windows' rule for data buffers: no buffer asks for the size only; a short buffer gets
// ERROR_MORE_DATA, is left alone and learns the size needed.
LONG CopyData(const std::string& data, LPBYTE buffer, LPDWORD size)
{
    if (!size)
        return buffer ? LONG(ERROR_INVALID_PARAMETER) : LONG(ERROR_SUCCESS);
    const DWORD needed = DWORD(data.size());
    const bool fits = *size >= needed;
    *size = needed;
    if (!buffer)
        return LONG(ERROR_SUCCESS);
    if (!fits)
        return LONG(ERROR_MORE_DATA);
    std::memcpy(buffer, data.data(), data.size());
    return LONG(ERROR_SUCCESS);
}

// Windows' rule for name buffers: the count goes in with room for the terminator and comes
// out without it.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD count)
{
    if (!buffer || !count)
        return LONG(ERROR_INVALID_PARAMETER);
    if (*count < name.size() + 1)
        return LONG(ERROR_MORE_DATA);
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *count = DWORD(name.size());
    return LONG(ERROR_SUCCESS);
}

FILETIME FileTimeOf(std::int64_t unixSeconds)
{
    // 100-nanosecond intervals since 1601-01-01.
    constexpr std::uint64_t kEpochDifference = 11644473600ULL;
    const std::uint64_t ticks = (std::uint64_t(unixSeconds) + kEpochDifference) * 10000000ULL;
    return FILETIME{DWORD(ticks & 0xFFFFFFFFu), DWORD(ticks >> 32)};
}

} // namespace

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR lpClass, DWORD, REGSAM samDesired,
                     LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (!phkResult)
        return LONG(ERROR_INVALID_PARAMETER);
    *phkResult = nullptr;
    DWORD disposition = 0;
    const LONG result =
        Store().CreateKey(hKey, lpSubKey, lpClass, samDesired, *phkResult, disposition);
    if (result == ERROR_SUCCESS && lpdwDisposition)
        *lpdwDisposition = disposition;
    return result;
}

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return LONG(ERROR_INVALID_PARAMETER);
    *phkResult = nullptr;
    return Store().OpenKey(hKey, lpSubKey, samDesired, *phkResult);
}

LONG RegCloseKey(HKEY hKey)
{
    return Store().CloseKey(hKey);
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData)
{
    if (lpData && !lpcbData)
        return LONG(ERROR_INVALID_PARAMETER);
    RegistryStore::Value value;
    if (const LONG result = Store().QueryValue(hKey, lpValueName, value); result != ERROR_SUCCESS)
        return result;
    if (lpType)
        *lpType = value.type;
    return CopyData(value.data, lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                    DWORD cbData)
{
    if (!lpData && cbData)
        return LONG(ERROR_INVALID_PARAMETER);
    const std::string_view data(reinterpret_cast<const char*>(lpData), lpData ? cbData : 0);
    return Store().SetValue(hKey, lpValueName, dwType, data);
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    return Store().DeleteValue(hKey, lpValueName);
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey)
{
    return Store().DeleteKey(hKey, lpSubKey);
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD,
                   LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime)
{
    RegistryStore::SubKey subKey;
    if (const LONG result = Store().EnumKey(hKey, dwIndex, subKey); result != ERROR_SUCCESS)
        return result;
    if (const LONG result = CopyName(subKey.name, lpName, lpcchName); result != ERROR_SUCCESS)
        return result;
    if (lpClass) {
        if (const LONG result = CopyName(subKey.className, lpClass, lpcchClass);
            result != ERROR_SUCCESS)
            return result;
    }
    if (lpftLastWriteTime)
        *lpftLastWriteTime = FileTimeOf(subKey.written);
    return LONG(ERROR_SUCCESS);
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    if (lpData && !lpcbData)
        return LONG(ERROR_INVALID_PARAMETER);
    RegistryStore::Value value;
    if (const LONG result = Store().EnumValue(hKey, dwIndex, value); result != ERROR_SUCCESS)
        return result;
    if (const LONG result = CopyName(value.name, lpValueName, lpcchValueName);
        result != ERROR_SUCCESS)
        return result;
    if (lpType)
        *lpType = value.type;
    return CopyData(value.data, lpData, lpcbData);
}

#pragma once
// Directory enumeration on program paths, as the Windows kernel and the C runtime offer it. The
// last piece of the path may hold the wildcards * and ?, matched case-insensitively on the
// name; a pattern ending in ".*" also matches names without a full stop, so "*.*" is "*".
// Matches come in name order, "." and ".." first (except at the root); host names holding a
// backslash cannot be program names and are skipped. A symbolic link reports its target with
// FILE_ATTRIBUTE_REPARSE_POINT added, so that tree walks can avoid cycles.
#include "platform/core/WinTypes.h"

#include <cstdint>
#include <ctime>

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x0001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x0002;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x0010;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x0080;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x0400;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    char cFileName[MAX_PATH];
};

// The first match, or INVALID_HANDLE_VALUE with the last error ERROR_FILE_NOT_FOUND (nothing
// matches), ERROR_PATH_NOT_FOUND (no such folder) or ERROR_ACCESS_DENIED.
HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA* data);
// The next match; FALSE with ERROR_NO_MORE_FILES at the end, ERROR_INVALID_HANDLE for a handle
// that is not an open search.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);

constexpr unsigned _A_NORMAL = 0x00;
constexpr unsigned _A_RDONLY = 0x01;
constexpr unsigned _A_HIDDEN = 0x02;
constexpr unsigned _A_SUBDIR = 0x10;

using _fsize_t = std::uint32_t;

struct _finddata_t {
    unsigned attrib;
    std::time_t time_write;
    _fsize_t size; // 0xFFFFFFFF for files of 4 GiB or more
    char name[MAX_PATH];
};

// The C runtime's flavour: -1 with errno ENOENT when nothing matches; *data is written only on
// success.
std::intptr_t _findfirst(const char* path, _finddata_t* data);
int _findnext(std::intptr_t search, _finddata_t* data);
int _findclose(std::intptr_t search);

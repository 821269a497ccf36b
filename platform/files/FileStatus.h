#pragma once
// The C runtime's file-status query on program paths.
#include "platform/core/WinTypes.h"

#include <cstdint>
#include <ctime>
#include <sys/stat.h> // defines st_mtime as st_mtim.tv_sec, which the member below relies on

constexpr unsigned _S_IFDIR = 0x4000;
constexpr unsigned _S_IFREG = 0x8000;
constexpr unsigned _S_IREAD = 0x0100;
constexpr unsigned _S_IWRITE = 0x0080;

struct _stat {
    unsigned st_mode; // _S_IFDIR or _S_IFREG, with _S_IREAD and _S_IWRITE
    std::int64_t st_size;
    timespec st_mtim; // read as st_mtime, seconds since 1970
};

// 0 and the status in *buffer, or -1 with errno set (ENOENT also for a path with wildcards,
// which names no single file).
int _stat(const char* path, struct _stat* buffer);

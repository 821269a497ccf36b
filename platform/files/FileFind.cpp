#include "platform/files/FileFind.h"

#include "platform/core/WinError.h"
#include "platform/files/FileSearch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>

namespace
{
// Open searches, so that a stale or made-up handle is refused instead of followed.
std::mutex g_lock;
std::set<FileSearch*> g_searches;

FileSearch* Open(LPCSTR path, DWORD& error)
{
    std::unique_ptr<FileSearch> search = FileSearch::Start(path ? path : "", error);
    if (!search)
        return nullptr;
    std::lock_guard<std::mutex> guard(g_lock);
    g_searches.insert(search.get());
    return search.release();
}

FileSearch* Find(void* handle)
{
    std::lock_guard<std::mutex> guard(g_lock);
    const auto it = g_searches.find(static_cast<FileSearch*>(handle));
    return it == g_searches.end() ? nullptr : *it;
}

bool Close(void* handle)
{
    std::unique_ptr<FileSearch> search;
    std::lock_guard<std::mutex> guard(g_lock);
    const auto it = g_searches.find(static_cast<FileSearch*>(handle));
    if (it == g_searches.end())
        return false;
    search.reset(*it);
    g_searches.erase(it);
    return true;
}

void CopyName(const std::string& name, char (&target)[MAX_PATH])
{
    const std::size_t n = std::min(name.size(), std::size_t(MAX_PATH - 1));
    std::memcpy(target, name.data(), n);
    target[n] = '\0';
}

void Fill(const FileSearch::Entry& entry, WIN32_FIND_DATAA& data)
{
    constexpr std::uint64_t secondsFrom1601To1970 = 11644473600ull;
    const std::uint64_t ticks =
        (std::uint64_t(entry.writeTime.tv_sec) + secondsFrom1601To1970) * 10000000ull +
        std::uint64_t(entry.writeTime.tv_nsec) / 100;
    data = WIN32_FIND_DATAA{};
    data.dwFileAttributes = entry.attributes;
    data.ftLastWriteTime = {DWORD(ticks), DWORD(ticks >> 32)};
    data.nFileSizeHigh = DWORD(entry.size >> 32);
    data.nFileSizeLow = DWORD(entry.size);
    CopyName(entry.name, data.cFileName);
}

void Fill(const FileSearch::Entry& entry, _finddata_t& data)
{
    data = _finddata_t{};
    data.attrib = entry.attributes & (_A_RDONLY | _A_HIDDEN | _A_SUBDIR);
    data.time_write = entry.writeTime.tv_sec;
    data.size = _fsize_t(std::min<std::uint64_t>(entry.size, 0xFFFFFFFFu));
    CopyName(entry.name, data.name);
}

// The next entry of an open search into data; the Windows error code otherwise.
template <typename Data> DWORD Advance(void* handle, Data* data)
{
    FileSearch* search = Find(handle);
    if (!search || !data)
        return ERROR_INVALID_HANDLE;
    FileSearch::Entry entry;
    if (!search->Next(entry))
        return ERROR_NO_MORE_FILES;
    Fill(entry, *data);
    return ERROR_SUCCESS;
}

template <typename Data> void* First(LPCSTR path, Data* data, DWORD& error)
{
    if (!data) {
        error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    FileSearch* search = Open(path, error);
    if (!search)
        return nullptr;
    error = Advance(search, data);
    if (error == ERROR_SUCCESS)
        return search;
    // Every match vanished before it could be reported.
    Close(search);
    error = ERROR_FILE_NOT_FOUND;
    return nullptr;
}
} // namespace

HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA* data)
{
    DWORD error = ERROR_SUCCESS;
    if (void* search = First(path, data, error))
        return search;
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data)
{
    const DWORD error = Advance(search, data);
    if (error != ERROR_SUCCESS)
        SetLastError(error);
    return error == ERROR_SUCCESS;
}

BOOL FindClose(HANDLE search)
{
    if (Close(search))
        return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

std::intptr_t _findfirst(const char* path, _finddata_t* data)
{
    DWORD error = ERROR_SUCCESS;
    if (void* search = First(path, data, error))
        return reinterpret_cast<std::intptr_t>(search);
    errno = error == ERROR_INVALID_PARAMETER ? EINVAL : ENOENT;
    return -1;
}

int _findnext(std::intptr_t search, _finddata_t* data)
{
    const DWORD error = Advance(reinterpret_cast<void*>(search), data);
    if (error == ERROR_SUCCESS)
        return 0;
    errno = error == ERROR_NO_MORE_FILES ? ENOENT : EINVAL;
    return -1;
}

int _findclose(std::intptr_t search)
{
    if (Close(reinterpret_cast<void*>(search)))
        return 0;
    errno = EINVAL;
    return -1;
}

#include "show/FileInfoArray.h"

#include "platform/files/HostPath.h"

#include <atomic>
#include <cstring>
#include <sys/stat.h>

namespace
{
bool Aborted(const int* abortFlag)
{
    return abortFlag && std::atomic_ref<int>(*const_cast<int*>(abortFlag)).load();
}

// Whether info goes before the entry at; false keeps looking.
bool GoesBefore(const FileInfo& info, const FileInfo& at, int order)
{
    switch (order) {
    case FileInfoArray::BySizeUp:
        return at.m_size >= info.m_size;
    case FileInfoArray::BySizeDown:
        return at.m_size <= info.m_size;
    case FileInfoArray::ByPathUp:
        return std::strcmp(at.m_path, info.m_path) >= 0;
    case FileInfoArray::ByPathDown:
        return std::strcmp(at.m_path, info.m_path) <= 0;
    }
    return false;
}
} // namespace

int FileInfoArray::AddOrdered(const FileInfo& info, int order)
{
    if (order < BySizeUp || order > ByPathDown)
        return Add(info);
    int index = 0;
    while (index < GetSize() && !GoesBefore(info, GetAt(index), order))
        ++index;
    InsertAt(index, info);
    return index;
}

int FileInfoArray::FindFiles(const CString& directory, const CString& pattern, bool recurse,
                             int order, bool includeDirs, const int* abortFlag, long* counter)
{
    FolderIds seen;
    return FindIn(directory, pattern, recurse, order, includeDirs, abortFlag, counter, seen);
}

int FileInfoArray::FindIn(const CString& directory, const CString& pattern, bool recurse, int order,
                          bool includeDirs, const int* abortFlag, long* counter, FolderIds& seen)
{
    struct stat st {
    };
    if (::stat(ToHostPath(directory).c_str(), &st) != 0 ||
        !seen.insert({st.st_dev, st.st_ino}).second)
        return 0;
    int count = 0;
    WIN32_FIND_DATAA data;
    if (recurse) {
        HANDLE search = FindFirstFileA(directory + "*", &data);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more;
             more = FindNextFileA(search, &data)) {
            const CString name = data.cFileName;
            if (name == "." || name == ".." || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            if (includeDirs) {
                FileInfo info;
                info.SetFromFindData(data, directory, 0);
                AddOrdered(info, order);
                ++count;
            }
            count += FindIn(directory + name + "\\", pattern, recurse, order, includeDirs,
                            abortFlag, counter, seen);
            if (Aborted(abortFlag))
                break;
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
    if (Aborted(abortFlag))
        return count;
    HANDLE search = FindFirstFileA(directory + pattern, &data);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &data)) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        FileInfo info;
        info.SetFromFindData(data, directory, 0);
        AddOrdered(info, order);
        ++count;
        if (counter)
            std::atomic_ref<long>(*counter).fetch_add(1);
        if (Aborted(abortFlag))
            break;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return count;
}

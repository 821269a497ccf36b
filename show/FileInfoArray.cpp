#include "show/FileInfoArray.h"

#include "platform/files/FileSearch.h"
#include "platform/files/TreeWalk.h"

#include <atomic>
#include <cstring>

namespace
{
bool Aborted(const int* abortFlag)
{
    return abortFlag && std::atomic_ref<int>(*const_cast<int*>(abortFlag)).load();
}

// The find data of the entry name in folder, whose name may hold the wildcards themselves.
bool FindData(const CString& folder, const std::string& name, WIN32_FIND_DATAA& data)
{
    const HANDLE search = FindFirstFileA(folder + CString(name), &data);
    bool found = search != INVALID_HANDLE_VALUE;
    while (found && name != data.cFileName)
        found = FindNextFileA(search, &data);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return found;
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
    int count = 0;
    // Nothing is added once the search is aborted; the walk stops at its next look at the flag.
    const auto add = [&](const CString& folder, const std::string& name) {
        WIN32_FIND_DATAA data;
        if (Aborted(abortFlag) || !FindData(folder, name, data))
            return false;
        FileInfo info;
        info.SetFromFindData(data, folder, 0);
        AddOrdered(info, order);
        ++count;
        return true;
    };
    TreeWalk walk(
        [&](std::string_view name) { return FileSearch::Matches(pattern.Str(), name) ? 0 : -1; },
        [&](const CString& folder, const std::string& name, int) {
            if (add(folder, name) && counter)
                std::atomic_ref<long>(*counter).fetch_add(1);
        },
        [&](long) { return !Aborted(abortFlag); });
    if (includeDirs)
        walk.VisitFolders(
            [&](const CString& parent, const std::string& name) { add(parent, name); });
    walk.Run(directory, recurse);
    return count;
}

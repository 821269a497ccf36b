#pragma once
// One entry found by a folder search: its full path and what the find services tell about it.
#include "platform/core/CString.h"
#include "platform/core/CTime.h"
#include "platform/files/FileFind.h"

#include <cstdint>

class FileInfo
{
public:
    FileInfo() = default;

    // path = directory (ending in a backslash) followed by the entry's name. The host's find
    // data carries only the write time, so the creation and access times stay unset.
    void SetFromFindData(const WIN32_FIND_DATAA& data, const CString& directory, int tag);

    int m_tag = 0;
    CString m_path;
    DWORD m_attributes = 0xFFFFFFFF;
    std::uint64_t m_size = 0;
    CTime m_created;
    CTime m_accessed;
    CTime m_written;
};

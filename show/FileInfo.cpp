#include "show/FileInfo.h"

void FileInfo::SetFromFindData(const WIN32_FIND_DATAA& data, const CString& directory, int tag)
{
    m_tag = tag;
    m_path = directory + data.cFileName;
    m_attributes = data.dwFileAttributes;
    m_size = (std::uint64_t(data.nFileSizeHigh) << 32) + data.nFileSizeLow;
    m_written = CTime(data.ftLastWriteTime, -1);
}

#pragma once
// One open directory search behind the file-find services: the matching names of one folder,
// read once and sorted, with each entry's status looked up as it is handed out.
#include "platform/core/CString.h"

#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FileSearch
{
public:
    struct Entry {
        std::string name;
        DWORD attributes; // FILE_ATTRIBUTE_* values
        std::uint64_t size;
        timespec writeTime;
    };

    // Null with a Windows error code in error when the search finds nothing.
    static std::unique_ptr<FileSearch> Start(const CString& programPath, DWORD& error);
    ~FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // False when no entry is left.
    bool Next(Entry& entry);

    // Windows wildcard matching of a name against a pattern, ignoring case.
    static bool Matches(std::string_view pattern, std::string_view name);
    // A name as searches compare it: case-folded, in UTF-8, whose byte order is the order of the
    // code points. Searches list names in the order of this key, then of their bytes.
    static std::string SortKey(std::string_view name);

private:
    explicit FileSearch(DIR* dir) : m_dir(dir) {}
    bool Status(const std::string& name, Entry& entry) const;

    DIR* m_dir;
    std::vector<std::string> m_names;
    std::size_t m_next = 0;
};

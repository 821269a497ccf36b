#include "platform/files/FileSearch.h"

#include "platform/core/AsciiCase.h"
#include "platform/core/WinError.h"
#include "platform/files/FileFind.h"
#include "platform/files/HostPath.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace
{
// Case-folded code points, so that ? stands for one character and case is ignored beyond ASCII.
std::u32string Fold(std::string_view text)
{
    if (IsAscii(text)) {
        const std::string lower = AsciiLower(text);
        return std::u32string(lower.begin(), lower.end());
    }
    return QString::fromUtf8(text.data(), qsizetype(text.size())).toCaseFolded().toStdU32String();
}

// Greedy matching that backtracks only to the last *, so it never takes exponential time.
bool WildcardMatch(std::u32string_view pattern, std::u32string_view name)
{
    std::size_t p = 0, n = 0, star = std::u32string_view::npos, mark = 0;
    while (n < name.size()) {
        // A * in the pattern is a wildcard even where the name holds a * too.
        if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (star != std::u32string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

bool FoldedMatch(std::u32string_view pattern, std::u32string_view name)
{
    if (WildcardMatch(pattern, name))
        return true;
    return pattern.ends_with(U".*") && name.find(U'.') == std::u32string_view::npos &&
           WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

DWORD OpenError(int error)
{
    switch (error) {
    case EACCES:
        return ERROR_ACCESS_DENIED;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_PATH_NOT_FOUND;
    }
}

bool IsRoot(DIR* dir)
{
    struct stat self {
    }, root{};
    return ::fstat(::dirfd(dir), &self) == 0 && ::stat("/", &root) == 0 &&
           self.st_dev == root.st_dev && self.st_ino == root.st_ino;
}

bool IsDots(std::string_view name)
{
    return name == "." || name == "..";
}
} // namespace

bool FileSearch::Matches(std::string_view pattern, std::string_view name)
{
    return FoldedMatch(Fold(pattern), Fold(name));
}

std::string FileSearch::SortKey(std::string_view name)
{
    if (IsAscii(name))
        return AsciiLower(name);
    return QString::fromStdU32String(Fold(name)).toUtf8().toStdString();
}

std::unique_ptr<FileSearch> FileSearch::Start(const CString& programPath, DWORD& error)
{
    const int slash = programPath.ReverseFind('\\');
    const std::u32string pattern = Fold(programPath.Mid(slash + 1).Str());
    if (pattern.empty()) {
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    const std::string folder = slash < 0    ? std::string(".")
                               : slash == 0 ? std::string("/")
                                            : ToHostPath(programPath.Left(slash));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = OpenError(errno);
        return nullptr;
    }
    std::unique_ptr<FileSearch> search(new FileSearch(dir));
    // A plain name spelt as on disk needs no scan of a large folder.
    const std::string name = programPath.Mid(slash + 1).Str();
    struct stat st {
    };
    if (name.find_first_of("*?") == std::string::npos && !IsDots(name) &&
        ::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        search->m_names.push_back(name);
        return search;
    }
    // The volume root has no "." and ".." entries on Windows.
    const bool root = IsRoot(dir);
    std::vector<std::pair<std::u32string, std::string>> found;
    while (const dirent* item = ::readdir(dir)) {
        const std::string_view name = item->d_name;
        if (name.find('\\') != std::string_view::npos || (root && IsDots(name)))
            continue;
        std::u32string folded = Fold(name);
        if (FoldedMatch(pattern, folded))
            found.emplace_back(std::move(folded), std::string(name));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        const bool dotsA = IsDots(a.second), dotsB = IsDots(b.second);
        if (dotsA != dotsB)
            return dotsA;
        return a < b;
    });
    for (auto& entry : found)
        search->m_names.push_back(std::move(entry.second));
    if (search->m_names.empty()) {
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    return search;
}

FileSearch::~FileSearch()
{
    ::closedir(m_dir);
}

bool FileSearch::Next(Entry& entry)
{
    // A name that vanished since the folder was read is passed over.
    while (m_next < m_names.size()) {
        const std::string& name = m_names[m_next++];
        if (Status(name, entry))
            return true;
    }
    return false;
}

bool FileSearch::Status(const std::string& name, Entry& entry) const
{
    struct stat st {
    };
    if (::fstatat(::dirfd(m_dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    DWORD attributes = 0;
    if (S_ISLNK(st.st_mode)) {
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        struct stat target {
        };
        if (::fstatat(::dirfd(m_dir), name.c_str(), &target, 0) == 0)
            st = target;
    }
    if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & S_IWUSR))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (name.starts_with('.') && !IsDots(name))
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    entry.name = name;
    entry.attributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    entry.size = S_ISDIR(st.st_mode) ? 0 : std::uint64_t(st.st_size);
    entry.writeTime = st.st_mtim;
    return true;
}

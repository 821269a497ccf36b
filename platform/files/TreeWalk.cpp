#include "platform/files/TreeWalk.h"

#include "platform/files/FileSearch.h"
#include "platform/files/HostPath.h"

#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

enum class Kind { Folder, File, Other, Missing };

// The entry's type, following links (Missing for a link that leads nowhere); d_type spares a
// status call for most entries.
Kind KindOf(int folderFd, const dirent& item)
{
    if (item.d_type == DT_DIR)
        return Kind::Folder;
    if (item.d_type == DT_REG)
        return Kind::File;
    if (item.d_type != DT_LNK && item.d_type != DT_UNKNOWN)
        return Kind::Other;
    struct stat st {
    };
    if (::fstatat(folderFd, item.d_name, &st, 0) != 0)
        return Kind::Missing;
    return S_ISDIR(st.st_mode) ? Kind::Folder : S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
}

bool Spellable(std::string_view name)
{
    return name.find('\\') == std::string_view::npos && TreeWalk::IsUtf8(name);
}
} // namespace

TreeWalk::TreeWalk(Filter filter, Visit visit, Progress progress)
    : m_filter(std::move(filter)), m_visit(std::move(visit)), m_progress(std::move(progress))
{
}

bool TreeWalk::Run(const CString& root, bool recurse)
{
    // The first chance to report comes at once, so that the search shows (and can be
    // cancelled) from its start.
    m_lastTick = NowMs() - 100;
    CString folder = root;
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
        folder += "\\";
    const std::string host = folder.IsEmpty() ? std::string(".") : ToHostPath(folder);
    WalkFolder(::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), folder, recurse);
    return !m_cancelled;
}

// Takes ownership of folderFd (-1: the folder could not be opened).
bool TreeWalk::WalkFolder(int folderFd, const CString& folder, bool recurse)
{
    if (folderFd < 0)
        return !m_cancelled;
    struct stat self {
    };
    const auto id = ::fstat(folderFd, &self) == 0 ? std::pair(self.st_dev, self.st_ino)
                                                  : std::pair<dev_t, ino_t>(0, 0);
    const auto at = std::lower_bound(m_seen.begin(), m_seen.end(), id);
    DIR* dir = nullptr;
    if ((at != m_seen.end() && *at == id) || !(dir = ::fdopendir(folderFd))) {
        ::close(folderFd);
        return !m_cancelled;
    }
    m_seen.insert(at, id);
    ++m_folders;
    // This folder's entries go on top of those of the folders it lies in, and are taken off
    // again when it is done: the walk reuses one store instead of allocating per folder.
    const std::size_t first = m_entries.size();
    std::size_t folders = 0;
    while (const dirent* item = ::readdir(dir)) {
        const std::string_view name = item->d_name;
        if (name == "." || name == "..")
            continue;
        const Kind kind = KindOf(::dirfd(dir), *item);
        if (kind == Kind::Missing || (kind == Kind::Folder && !recurse))
            continue;
        const int wanted = kind == Kind::Folder ? 0 : m_filter(name);
        if (wanted < 0)
            continue;
        if (kind == Kind::Other || !Spellable(name)) {
            ++m_skipped;
            continue;
        }
        folders += kind == Kind::Folder;
        m_entries.push_back(
            {kind != Kind::Folder, FileSearch::SortKey(name), std::string(name), wanted});
    }
    std::sort(m_entries.begin() + std::ptrdiff_t(first), m_entries.end());
    for (std::size_t i = first; i < first + folders; ++i) {
        if (!Tick())
            break;
        const std::string sub = m_entries[i].name; // the walk below may move the store
        if (m_visitFolder)
            m_visitFolder(folder, sub);
        const int fd = ::openat(::dirfd(dir), sub.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (!WalkFolder(fd, folder + CString(sub) + "\\", recurse))
            break;
    }
    ::closedir(dir);
    for (std::size_t i = first + folders; !m_cancelled && i < m_entries.size(); ++i)
        m_visit(folder, m_entries[i].name, m_entries[i].kind);
    m_entries.resize(first);
    return !m_cancelled && Tick();
}

bool TreeWalk::Tick()
{
    if (m_cancelled)
        return false;
    const long long now = NowMs();
    if (now - m_lastTick >= 100) {
        m_lastTick = now;
        m_cancelled = m_progress && !m_progress(m_folders);
    }
    return !m_cancelled;
}

bool TreeWalk::IsUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80           ? 1
                                   : (c >> 5) == 0x6  ? 2
                                   : (c >> 4) == 0xE  ? 3
                                   : (c >> 3) == 0x1E ? 4
                                                      : 0;
        if (length == 0 || c == 0xC0 || c == 0xC1 || c > 0xF4 || i + length > text.size())
            return false;
        unsigned cp = length == 1 ? c : c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        const unsigned least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

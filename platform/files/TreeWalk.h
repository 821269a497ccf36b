#pragma once
// One pass over a folder tree for the regular files in it, in the order the file-find services
// would list them to a depth-first walk: in each folder its sub-folders first (each walked
// whole), then its own files, both by name ignoring case. Each folder is visited once, however
// many links lead to it, so a link back up the tree cannot make the walk loop. Entries that are
// not regular files (pipes, sockets, devices) are passed over, so that nobody can hang opening
// one, as are names the program cannot spell (a backslash, not UTF-8); both are counted when
// they are wanted.
#include "platform/core/CString.h"

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

class TreeWalk
{
public:
    // Which kind of wanted file a name is, or -1 for a file not wanted (so that only wanted
    // ones count as skipped).
    using Filter = std::function<int(std::string_view name)>;
    // A wanted file: its folder as a program path ending in a backslash, its name and kind.
    using Visit = std::function<void(const CString& folder, const std::string& name, int kind)>;
    // Called at the first folder and then at least every 100 ms while the walk runs, with the
    // folders read so far; false cancels the walk.
    using Progress = std::function<bool(long folders)>;
    // A folder below the root, just before it is walked: the folder it lies in (a program path
    // ending in a backslash) and its name.
    using FolderVisit = std::function<void(const CString& parent, const std::string& name)>;

    TreeWalk(Filter filter, Visit visit, Progress progress);
    void VisitFolders(FolderVisit visit) { m_visitFolder = std::move(visit); }

    // Walks root (a program path) and, with recurse, every folder below it. False when the
    // progress callback cancelled it. A folder that cannot be read contributes nothing.
    bool Run(const CString& root, bool recurse);

    long Folders() const { return m_folders; }
    // Wanted entries that are no regular files or whose names cannot be spelt in the program.
    long Skipped() const { return m_skipped; }

    // Whether text is well-formed UTF-8.
    static bool IsUtf8(std::string_view text);

private:
    bool WalkFolder(int folderFd, const CString& folder, bool recurse);
    bool Tick();

    struct Entry {
        bool file; // folders sort first
        std::string key;
        std::string name;
        int kind;
        bool operator<(const Entry& other) const
        {
            return file != other.file ? other.file
                   : key != other.key ? key < other.key
                                      : name < other.name;
        }
    };

    Filter m_filter;
    Visit m_visit;
    Progress m_progress;
    FolderVisit m_visitFolder;
    std::vector<std::pair<dev_t, ino_t>> m_seen; // sorted
    std::vector<Entry> m_entries;
    long m_folders = 0;
    long m_skipped = 0;
    long long m_lastTick = 0;
    bool m_cancelled = false;
};

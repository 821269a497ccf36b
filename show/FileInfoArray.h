#pragma once
// A growable array of found entries, with ordered insertion and the library's recursive file
// search. The search walks the tree as the program's movie search does (see TreeWalk): every
// folder once, however many links lead there, and regular files only.
#include "platform/core/CArray.h"
#include "show/FileInfo.h"

class FileInfoArray : public CArray<FileInfo>
{
public:
    // Order codes of AddOrdered.
    enum Order { BySizeUp = 2, BySizeDown = 3, ByPathUp = 4, ByPathDown = 5 };

    virtual ~FileInfoArray() = default;

    // Inserts a copy of info where order puts it (any other code appends) and returns its index.
    virtual int AddOrdered(const FileInfo& info, int order);

    // Adds the entries of directory (ending in a backslash) matching pattern, and with recurse
    // those of every folder below, sub-folders' entries before a folder's own. Folders
    // themselves only with includeDirs. abortFlag (read, non-zero stops) and counter (of files
    // added) may be null; both are accessed atomically, so another thread may raise the flag and
    // watch the count while the search runs. Returns the number of entries added.
    int FindFiles(const CString& directory, const CString& pattern, bool recurse, int order,
                  bool includeDirs, const int* abortFlag, long* counter);
};

#pragma once
// The movie files of a folder tree, found in one walk and split by extension: for each
// extension the same files, in the same order, as a search of the tree for "*.<extension>"
// (long names only, ignoring case), without walking the tree once per extension.
#include "platform/core/CStringList.h"
#include "platform/files/TreeWalk.h"

#include <string>
#include <string_view>
#include <vector>

class MovieSearch
{
public:
    explicit MovieSearch(const CStringList& extensions);

    // Walks directory (a program path) and, with recurse, the folders below. False when
    // progress cancelled the walk.
    bool Run(const CString& directory, bool recurse, const TreeWalk::Progress& progress);
    // Appends the full paths found for extension number index to results; returns how many.
    int Take(int index, CStringList& results);
    // Movie names passed over: pipes, sockets and devices, and names the program cannot spell.
    long Skipped() const { return m_skipped; }

    // The number of the extension whose pattern name matches, or -1.
    int ExtensionOf(std::string_view name) const;

private:
    std::vector<CString> m_extensions;
    std::vector<std::string> m_folded;
    std::vector<std::vector<CString>> m_found;
    long m_skipped = 0;
};

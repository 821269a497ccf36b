#include "show/MovieSearch.h"

#include "platform/core/AsciiCase.h"
#include "platform/files/FileSearch.h"

MovieSearch::MovieSearch(const CStringList& extensions)
{
    for (POSITION pos = extensions.GetHeadPosition(); pos;) {
        const CString& extension = extensions.GetNext(pos);
        m_extensions.push_back(extension);
        m_folded.push_back(IsAscii(extension.Str()) ? AsciiLower(extension.Str()) : std::string());
    }
    m_found.resize(m_extensions.size());
}

// "*.ext" matches exactly the names whose text after the last full stop is ext, ignoring case;
// names or extensions beyond ASCII take the general matcher, which folds case as a whole.
int MovieSearch::ExtensionOf(std::string_view name) const
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return -1;
    const bool ascii = IsAscii(name);
    const std::string suffix = ascii ? AsciiLower(name.substr(dot + 1)) : std::string();
    for (std::size_t i = 0; i < m_extensions.size(); ++i) {
        const bool matches = ascii && !m_folded[i].empty()
                                 ? suffix == m_folded[i]
                                 : FileSearch::Matches("*." + m_extensions[i].Str(), name);
        if (matches)
            return int(i);
    }
    return -1;
}

bool MovieSearch::Run(const CString& directory, bool recurse, const TreeWalk::Progress& progress)
{
    TreeWalk walk([this](std::string_view name) { return ExtensionOf(name); },
                  [this](const CString& folder, const std::string& name, int extension) {
                      m_found[std::size_t(extension)].push_back(folder + CString(name));
                  },
                  progress);
    const bool done = walk.Run(directory, recurse);
    m_skipped = walk.Skipped();
    return done;
}

int MovieSearch::Take(int index, CStringList& results)
{
    if (index < 0 || index >= int(m_found.size()))
        return 0;
    std::vector<CString>& found = m_found[std::size_t(index)];
    for (CString& path : found)
        results.AddTail(std::move(path));
    const int count = int(found.size());
    found.clear();
    return count;
}

#pragma once
// The framework's most-recently-used file list: program paths, newest first, kept in the
// application's profile section as values entryFormat % 1..size, read at start-up and written
// back (the whole section replaced) at exit.
#include "platform/core/CString.h"

#include <vector>

class CRecentFileList
{
public:
    CRecentFileList(UINT start, LPCTSTR section, LPCTSTR entryFormat, int size,
                    int maxDisplayLength = 30);

    int GetSize() const { return int(m_names.size()); }
    // Entry index; empty when the slot is unused.
    const CString& operator[](int index) const { return m_names.at(std::size_t(index)); }
    // Puts path first, moving it up when it is already listed; the oldest falls off the end.
    void Add(const CString& path);
    void Remove(int index);

    void ReadList();
    void WriteList() const;

    // The entry as a menu shows it, in host form: a file in curDir (a program path) by its name
    // alone, a long path with its middle folders cut to "...". FALSE for an unused slot.
    BOOL GetDisplayName(CString& name, int index, const CString& curDir) const;
    // The menu item text of entry index: "&1 name" .. "&9 name", "1&0 name", "11 name"...
    // with the name's own "&" doubled.
    CString GetMenuText(int index, const CString& curDir) const;

private:
    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;
    std::vector<CString> m_names;
};

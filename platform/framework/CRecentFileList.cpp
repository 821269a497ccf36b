#include "platform/framework/CRecentFileList.h"

#include "platform/files/HostPath.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>

namespace
{
// "\root\...\last\name": as many trailing folders as fit into maxLength; the name alone when
// not even one does.
CString Abbreviate(const CString& path, int maxLength)
{
    if (path.GetLength() <= maxLength)
        return path;
    const CString name = path.Mid(path.ReverseFind('\\') + 1);
    const int rootEnd = path.Find('\\');
    if (rootEnd < 0)
        return name;
    const CString root = path.Left(rootEnd + 1) + "...";
    for (int cut = path.Find('\\', rootEnd + 1); cut >= 0; cut = path.Find('\\', cut + 1)) {
        const CString tail = path.Mid(cut);
        if (root.GetLength() + tail.GetLength() <= maxLength)
            return root + tail;
    }
    return name;
}
} // namespace

CRecentFileList::CRecentFileList(UINT start, LPCTSTR section, LPCTSTR entryFormat, int size,
                                 int maxDisplayLength)
    : m_nStart(start), m_strSectionName(section), m_strEntryFormat(entryFormat),
      m_nMaxDisplayLength(maxDisplayLength), m_names(std::size_t(std::max(size, 0)))
{
}

void CRecentFileList::Add(const CString& path)
{
    if (m_names.empty() || path.IsEmpty())
        return;
    auto found = std::find(m_names.begin(), m_names.end(), path);
    if (found == m_names.end())
        found = m_names.end() - 1;
    std::rotate(m_names.begin(), found, found + 1);
    m_names.front() = path;
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= GetSize())
        return;
    m_names.erase(m_names.begin() + index);
    m_names.emplace_back();
}

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    for (int i = 0; app && i < GetSize(); ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        m_names[std::size_t(i)] = app->GetProfileString(m_strSectionName, entry, "");
    }
}

void CRecentFileList::WriteList() const
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    app->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < GetSize(); ++i) {
        if (m_names[std::size_t(i)].IsEmpty())
            continue;
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        app->WriteProfileString(m_strSectionName, entry, m_names[std::size_t(i)]);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& name, int index, const CString& curDir) const
{
    if (index < 0 || index >= GetSize() || m_names[std::size_t(index)].IsEmpty())
        return FALSE;
    const CString& path = m_names[std::size_t(index)];
    const int cut = path.ReverseFind('\\');
    CString folder = path.Left(std::max(cut, 0));
    if (!curDir.IsEmpty() && (folder == curDir || folder + "\\" == curDir))
        name = path.Mid(cut + 1);
    else
        name = CString(ToHostPath(Abbreviate(path, m_nMaxDisplayLength)));
    return TRUE;
}

CString CRecentFileList::GetMenuText(int index, const CString& curDir) const
{
    CString name;
    if (!GetDisplayName(name, index, curDir))
        return CString();
    name.Replace("&", "&&");
    const int number = int(m_nStart) + index + 1;
    CString text;
    if (number < 10)
        text.Format("&%d ", number);
    else if (number == 10)
        text = "1&0 ";
    else
        text.Format("%d ", number);
    return text + name;
}

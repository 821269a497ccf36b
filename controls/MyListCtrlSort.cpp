// MyListCtrl: sorting by a column, the header's text, the auto-size column and the column
// widths kept in the registry.
#include "controls/MyListCtrl.h"

#include "controls/ColumnSort.h"
#include "platform/registry/WinReg.h"

#include <vector>

namespace
{
constexpr int kHeaderTextSize = 63;

CString ColumnValueName(int column)
{
    CString name;
    name.Format("Column%d", column);
    return name;
}
} // namespace

// ---- sorting

void MyListCtrl::SortColumn(int column, bool toggle)
{
    if (column != m_sortColumn)
        m_sortAscending = 0;
    else if (toggle)
        m_sortAscending = !m_sortAscending;
    m_sortColumn = column;

    // The texts are read once, while the rows still carry their own data values (an owner that
    // supplies texts on demand reads its objects from them).
    ColumnSort sort;
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row)
        sort.Add(GetItemTextWorks(row, m_sortColumn));
    Reorder(sort.Order(m_sortAscending));
}

// Rows are told apart by their indices, so that rows sharing a data value stay apart.
void MyListCtrl::Reorder(const std::vector<int>& order)
{
    std::vector<int> places(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
        places[std::size_t(order[place])] = int(place);
    SortItemsEx(
        [](LPARAM a, LPARAM b, LPARAM user) {
            const auto& places = *reinterpret_cast<const std::vector<int>*>(user);
            return places[std::size_t(a)] - places[std::size_t(b)];
        },
        LPARAM(&places));
}

void MyListCtrl::OnColumnclick(NMHDR* header, LRESULT* result)
{
    SortColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem, true);
    *result = 0;
}

// ---- header

CString MyListCtrl::GetHeaderText(int column) const
{
    char text[kHeaderTextSize] = {};
    HDITEM item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = kHeaderTextSize;
    m_header.GetItem(column, &item);
    return CString(text);
}

// ---- auto-size column

void MyListCtrl::HandleAutoSizeColumn()
{
    if (m_autoSizeColumn == -1 || !GetSafeHwnd())
        return;
    int others = 0;
    for (int column = 0; IsColumn(column); ++column) {
        if (column != m_autoSizeColumn)
            others += GetColumnWidth(column);
    }
    CRect client;
    GetClientRect(&client);
    // When the others leave nothing, the column closes rather than asking for an automatic
    // width by accident.
    const int width = std::max(0, int(client.right - client.left) - others);
    SetColumnWidth(m_autoSizeColumn, int(std::uint16_t(width)));
}

// ---- column widths in the registry

void MyListCtrl::SetModeColumnWidths(const CString& keyPath)
{
    m_widthsKey = keyPath;
    if (m_widthsKey.IsEmpty())
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_widthsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (int column = 0;; ++column) {
        DWORD width = 0;
        DWORD size = sizeof width;
        if (RegQueryValueExA(key, ColumnValueName(column), nullptr, nullptr,
                             reinterpret_cast<LPBYTE>(&width), &size) != ERROR_SUCCESS)
            break;
        SetColumnWidth(column, int(width & 0xFFFF));
    }
    RegCloseKey(key);
}

void MyListCtrl::SaveColumnsWidthsToRegistry()
{
    if (m_widthsKey.IsEmpty())
        return;
    HKEY key = nullptr;
    char keyClass[] = "MyListCtrlClass";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_widthsKey, 0, keyClass, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (int column = 0; IsColumn(column); ++column) {
        const DWORD width = DWORD(GetColumnWidth(column));
        RegSetValueExA(key, ColumnValueName(column), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&width), sizeof width);
    }
    RegCloseKey(key);
}

// MyListCtrl: sorting by a column, the header's text, the auto-size column and the column
// widths kept in the registry.
#include "controls/MyListCtrl.h"

#include "platform/WinReg.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <unordered_set>

namespace {
// Texts made only of these look like numbers (amounts, percentages, decimals).
constexpr const char* kNumericCharacters = "$.%, 0123456789";
constexpr int kHeaderTextSize = 63;

bool LooksNumeric(const CString& text) { return text.SpanIncluding(kNumericCharacters) == text; }

// The C runtime's atoi, kept inside int's range instead of wrapping on long digit runs.
long long LeadingNumber(const CString& text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    return std::clamp<long long>(value, INT_MIN, INT_MAX);
}

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

    // Rows are found by their data values during the sort; when those can't tell the rows
    // apart, each row gets its index for the time of the sort and its own value back after.
    const int count = GetItemCount();
    std::vector<LPARAM> originals(static_cast<std::size_t>(count));
    std::unordered_set<LPARAM> seen;
    seen.reserve(std::size_t(count));
    bool distinct = true;
    for (int row = 0; row < count; ++row) {
        originals[std::size_t(row)] = GetItemData(row);
        distinct = distinct && originals[std::size_t(row)] != 0 &&
                   seen.insert(originals[std::size_t(row)]).second;
    }
    if (!distinct) {
        for (int row = 0; row < count; ++row)
            SetItemData(row, LPARAM(row));
    }

    m_sortNumeric = 0;
    SortItems(CompareFunc, LPARAM(this));
    if (count > 0) {
        const bool numeric = LooksNumeric(GetItemTextWorks(0, column)) &&
                             LooksNumeric(GetItemTextWorks(count - 1, column));
        if (numeric) {
            m_sortNumeric = 1;
            SortItems(CompareFunc, LPARAM(this));
        }
    }

    if (!distinct) {
        for (int row = 0; row < count; ++row)
            SetItemData(row, originals[std::size_t(GetItemData(row))]);
    }
}

int MyListCtrl::CompareFunc(LPARAM data1, LPARAM data2, LPARAM control)
{
    const auto* list = reinterpret_cast<const MyListCtrl*>(control);
    LVFINDINFO find{LVFI_PARAM, nullptr, data1};
    const int row1 = list->FindItem(&find, -1);
    find.lParam = data2;
    const int row2 = list->FindItem(&find, -1);
    const CString text1 = list->GetItemTextWorks(row1, list->m_sortColumn);
    const CString text2 = list->GetItemTextWorks(row2, list->m_sortColumn);
    int result = 0;
    if (list->m_sortNumeric) {
        const long long difference = LeadingNumber(text1) - LeadingNumber(text2);
        result = difference < 0 ? -1 : difference > 0 ? 1 : 0;
    } else {
        result = text1.CompareNoCase(text2);
    }
    return list->m_sortAscending ? result : -result;
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

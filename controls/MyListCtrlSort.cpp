// MyListCtrl: sorting by a column, the header's text, the auto-size column and the column
// widths kept in the registry.
#include "controls/MyListCtrl.h"

#include "platform/registry/WinReg.h"

#include <climits>
#include <cstdlib>

namespace
{
// Texts made only of these look like numbers (amounts, percentages, decimals).
constexpr const char* kNumericCharacters = "$.%, 0123456789";
constexpr int kHeaderTextSize = 63;

bool LooksNumeric(const CString& text)
{
    return text.SpanIncluding(kNumericCharacters) == text;
}

// The C runtime's atoi (white space, a sign, digits), kept inside int's range instead of
// wrapping on long digit runs.
long long LeadingNumber(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9' && value <= INT_MAX; ++text)
        value = value * 10 + (*text - '0');
    return std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX);
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

    // The texts are read while the rows still carry their own data values (an owner that
    // supplies texts on demand reads its objects from them). While the rows are sorted, each
    // one carries its index instead, so that its text is found at once and rows sharing a value
    // stay apart; each gets its own value back afterwards.
    ReadSortTexts();
    const int count = GetItemCount();
    std::vector<LPARAM> originals(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        originals[std::size_t(row)] = GetItemData(row);
        SetItemData(row, LPARAM(row));
    }

    m_sortNumeric = 0;
    SortItems(CompareFunc, LPARAM(this));
    if (count > 0) {
        const bool numeric = LooksNumeric(SortText(GetItemData(0))) &&
                             LooksNumeric(SortText(GetItemData(count - 1)));
        if (numeric) {
            m_sortNumeric = 1;
            SortItems(CompareFunc, LPARAM(this));
        }
    }
    m_sortTexts.clear();

    for (int row = 0; row < count; ++row)
        SetItemData(row, originals[std::size_t(GetItemData(row))]);
}

void MyListCtrl::ReadSortTexts()
{
    m_sortTexts.clear();
    const int count = GetItemCount();
    m_sortTexts.reserve(std::size_t(count));
    for (int row = 0; row < count; ++row)
        m_sortTexts.push_back(GetItemTextWorks(row, m_sortColumn));
}

int MyListCtrl::CompareFunc(LPARAM data1, LPARAM data2, LPARAM control)
{
    const auto* list = reinterpret_cast<const MyListCtrl*>(control);
    const CString text1 = list->SortText(data1);
    const CString text2 = list->SortText(data2);
    int result = 0;
    if (list->m_sortNumeric) {
        const long long difference = LeadingNumber(text1) - LeadingNumber(text2);
        result = difference < 0 ? -1 : difference > 0 ? 1 : 0;
    } else {
        result = text1.CompareNoCase(text2);
    }
    return list->m_sortAscending ? result : -result;
}

CString MyListCtrl::SortText(LPARAM data) const
{
    if (data >= 0 && std::size_t(data) < m_sortTexts.size())
        return m_sortTexts[std::size_t(data)];
    const LVFINDINFO find{LVFI_PARAM, nullptr, data};
    return GetItemTextWorks(FindItem(&find, -1), m_sortColumn);
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

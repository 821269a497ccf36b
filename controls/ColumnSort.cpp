#include "controls/ColumnSort.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

namespace
{
// Texts made only of these look like numbers (amounts, percentages, decimals).
constexpr const char* kNumericCharacters = "$.%, 0123456789";

struct Entry {
    std::string_view text;
    long long number;
    int row;
};

template <typename Key> void StableSort(std::vector<Entry>& entries, bool ascending, Key key)
{
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        return ascending ? key(a) < key(b) : key(b) < key(a);
    });
}

// Made only of "$.%, 0123456789" (the empty text too).
bool LooksNumeric(const char* text)
{
    return text[std::strspn(text, kNumericCharacters)] == '\0';
}

// What the C runtime's atoi reads (white space, a sign, digits), kept inside int's range
// instead of wrapping on long digit runs.
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
} // namespace

void ColumnSort::Add(const CString& text)
{
    m_starts.push_back(m_texts.size());
    // _stricmp compares bytes with the ASCII letters lowered: lowered texts compare the same.
    for (const char c : text.Str())
        m_texts += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    m_texts += '\0';
}

std::vector<int> ColumnSort::Order(bool ascending) const
{
    std::vector<Entry> entries;
    entries.reserve(m_starts.size());
    for (std::size_t row = 0; row < m_starts.size(); ++row)
        entries.push_back({std::string_view(m_texts.data() + m_starts[row]), 0, int(row)});
    StableSort(entries, ascending, [](const Entry& e) { return e.text; });
    // Case aside, the lowered texts are the texts, and letters never look numeric.
    const bool numeric = !entries.empty() && LooksNumeric(entries.front().text.data()) &&
                         LooksNumeric(entries.back().text.data());
    if (numeric) {
        for (Entry& entry : entries)
            entry.number = LeadingNumber(entry.text.data());
        StableSort(entries, ascending, [](const Entry& e) { return e.number; });
    }
    std::vector<int> rows;
    rows.reserve(entries.size());
    for (const Entry& entry : entries)
        rows.push_back(entry.row);
    return rows;
}

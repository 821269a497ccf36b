#pragma once
// The order a header click sorts a column's rows into, as MyListCtrl::CompareFunc orders them
// (texts compared ignoring the case of ASCII letters, then, when the texts at both ends of that
// order look numeric, again by the numbers atoi reads, each sort stable), worked out from the
// texts read once: each text is lowered once and all lie in one block, so that a comparison
// costs about what comparing two strings does.
#include "platform/core/CString.h"

#include <string>
#include <vector>

class ColumnSort
{
public:
    // The rows' texts, in row order.
    void Add(const CString& text);
    // The rows, first to last, in the sorted order; numeric says whether numbers decided it.
    std::vector<int> Order(bool ascending, bool& numeric) const;

    // Made only of "$.%, 0123456789" (the empty text too).
    static bool LooksNumeric(const char* text);
    // What atoi reads: white space, a sign, digits; kept inside int's range.
    static long long LeadingNumber(const char* text);

private:
    std::string m_texts;               // each lowered and terminated
    std::vector<std::size_t> m_starts; // where each row's text begins
};

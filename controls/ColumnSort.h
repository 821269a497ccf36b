#pragma once
// The order a header click sorts a column's rows into: texts compared ignoring the case of ASCII
// letters, then, when the texts at both ends of that order look numeric, again by the numbers
// atoi reads, each sort stable. It is worked out from the texts read once: each text is lowered
// once and all lie in one block, so that a comparison costs about what comparing two strings
// does.
#include "platform/core/CString.h"

#include <string>
#include <vector>

class ColumnSort
{
public:
    // The rows' texts, in row order.
    void Add(const CString& text);
    // The rows, first to last, in the sorted order.
    std::vector<int> Order(bool ascending) const;

private:
    std::string m_texts;               // each lowered and terminated
    std::vector<std::size_t> m_starts; // where each row's text begins
};

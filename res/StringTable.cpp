#include "res/StringTable.h"

#include "res/StringIds.h"

#include <algorithm>
#include <iterator>

namespace {
struct Entry {
    UINT id;
    const char* text;
};

// Sorted by identifier.
constexpr Entry kStrings[] = {
    {IDR_MAINFRAME, "Reelmix\n\nReelmix\nReelmix Files (*.rlx)\n.rlx\nReelmix.Document\nReelmix Document"},
    {AFX_IDS_APP_TITLE, "Reelmix"},
};
} // namespace

const char* FindResourceString(UINT id)
{
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                     [](const Entry& e, UINT key) { return e.id < key; });
    return it != std::end(kStrings) && it->id == id ? it->text : nullptr;
}

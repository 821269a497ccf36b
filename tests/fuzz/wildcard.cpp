// A wildcard pattern and a name, the input split at its first zero byte, matched against a plain
// table-filling matcher for ASCII input.
#include "platform/files/FileSearch.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
bool Reference(std::string_view pattern, std::string_view name)
{
    // match[j]: pattern[0, i) matches name[0, j).
    std::vector<char> match(name.size() + 1, 0);
    match[0] = 1;
    for (const char p : pattern) {
        std::vector<char> next(name.size() + 1, 0);
        for (std::size_t j = 0; j <= name.size(); ++j) {
            if (p == '*')
                next[j] = match[j] || (j > 0 && next[j - 1]);
            else if (j > 0)
                next[j] =
                    match[j - 1] && (p == '?' || std::tolower(p) == std::tolower(name[j - 1]));
        }
        match.swap(next);
    }
    return match[name.size()];
}

bool ReferenceWithDotStar(std::string_view pattern, std::string_view name)
{
    return Reference(pattern, name) || (pattern.ends_with(".*") && name.find('.') == name.npos &&
                                        Reference(pattern.substr(0, pattern.size() - 2), name));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = std::min(input.find('\0'), input.size());
    const std::string_view pattern = input.substr(0, cut), name = input.substr(cut + (cut < size));
    const bool matches = FileSearch::Matches(pattern, name);
    const bool ascii = std::all_of(input.begin(), input.end(), [](char c) { return c >= 0; });
    if (ascii && matches != ReferenceWithDotStar(pattern, name))
        std::abort();
    return 0;
}

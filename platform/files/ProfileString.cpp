#include "platform/files/ProfileString.h"

#include "platform/core/CString.h"
#include "platform/files/HostPath.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace
{
struct Key {
    std::string name;
    std::optional<std::string> value; // none for a line without "="
};

struct Section {
    std::string name;
    std::vector<Key> keys;
};

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::optional<std::vector<Section>> Parse(LPCSTR file)
{
    std::ifstream in(ToHostPath(file ? file : ""), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    std::vector<Section> sections;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            sections.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
        } else if (!sections.empty()) {
            const std::size_t equals = line.find('=');
            Key key{std::string(Trim(line.substr(0, equals))), std::nullopt};
            if (equals != std::string_view::npos)
                key.value = Unquote(Trim(line.substr(equals + 1)));
            sections.back().keys.push_back(std::move(key));
        }
    }
    return sections;
}

template <typename Item> const Item* FindNamed(const std::vector<Item>& items, LPCSTR name)
{
    const auto it = std::find_if(items.begin(), items.end(), [&](const Item& item) {
        return !_stricmp(item.name.c_str(), name);
    });
    return it == items.end() ? nullptr : &*it;
}

DWORD CopyValue(const std::string& value, LPSTR buffer, DWORD size)
{
    const std::size_t n = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return DWORD(n);
}

template <typename Item> DWORD CopyNames(const std::vector<Item>& items, LPSTR buffer, DWORD size)
{
    std::string list;
    for (const Item& item : items)
        list.append(item.name).push_back('\0');
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return DWORD(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
}
} // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                               DWORD size, LPCSTR file)
{
    if (!buffer || size == 0)
        return 0;
    std::string fallback = defaultText ? defaultText : "";
    fallback.erase(fallback.find_last_not_of(' ') + 1);
    const std::optional<std::vector<Section>> sections = Parse(file);
    if (!sections)
        return CopyValue(fallback, buffer, size);
    if (!section)
        return CopyNames(*sections, buffer, size);
    const Section* found = FindNamed(*sections, section);
    if (!found || (!key && found->keys.empty()))
        return CopyValue(fallback, buffer, size);
    if (!key)
        return CopyNames(found->keys, buffer, size);
    const Key* entry = FindNamed(found->keys, key);
    return CopyValue(entry && entry->value ? *entry->value : fallback, buffer, size);
}

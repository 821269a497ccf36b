#include "platform/registry/RegistryText.h"

#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryStore.h"
#include "platform/registry/RegistryTextReader.h"

#include <cstdio>
#include <vector>

namespace
{

constexpr const char* kHeader = "REGEDIT4";
constexpr std::size_t kHexLineWidth = 76;

std::string StoreErrorText(LONG code)
{
    switch (DWORD(code)) {
    case ERROR_FILE_NOT_FOUND:
        return "no such key";
    case ERROR_ACCESS_DENIED:
        return "the settings store is read-only";
    case ERROR_BADDB:
        return "the settings store is damaged or not a settings store";
    case ERROR_BUSY:
        return "the settings store is busy";
    case ERROR_INVALID_PARAMETER:
        return "a key or value name is too long, holds a line break or lies too deep";
    case ERROR_BAD_FORMAT:
        return "a key or value name holds a line break, which REGEDIT4 text cannot hold";
    default:
        return "the settings store failed (error " + std::to_string(code) + ")";
    }
}

// ---- writing ----

bool HasLineBreak(const std::string& name)
{
    return name.find_first_of("\r\n") != std::string::npos;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (const char ch : text) {
        if (ch == '\\' || ch == '"')
            quoted += '\\';
        quoted += ch;
    }
    return quoted + '"';
}

// column: where the prefix starts on its line.
void AppendHexList(const std::string& prefix, const std::string& data, std::size_t column,
                   std::string& text)
{
    text += prefix;
    column += prefix.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        char piece[4];
        std::snprintf(piece, sizeof piece, "%02x%s", unsigned(BYTE(data[i])),
                      i + 1 < data.size() ? "," : "");
        if (column + 3 > kHexLineWidth && i > 0) {
            text += "\\\n  ";
            column = 2;
        }
        text += piece;
        column += std::char_traits<char>::length(piece);
    }
}

void AppendData(DWORD type, const std::string& data, std::size_t column, std::string& text)
{
    if (type == REG_SZ && data.find_first_of(std::string("\0\r\n", 3)) == std::string::npos) {
        text += Quoted(data);
    } else if (type == REG_DWORD && data.size() == 4) {
        const DWORD value = DWORD(BYTE(data[0])) | DWORD(BYTE(data[1])) << 8 |
                            DWORD(BYTE(data[2])) << 16 | DWORD(BYTE(data[3])) << 24;
        char number[20];
        std::snprintf(number, sizeof number, "dword:%08x", unsigned(value));
        text += number;
    } else if (type == REG_BINARY) {
        AppendHexList("hex:", data, column, text);
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", unsigned(type));
        AppendHexList(prefix, data, column, text);
    }
}

LONG AppendValues(RegistryStore& store, HKEY key, std::string& text)
{
    std::vector<RegistryStore::Value> values;
    if (const LONG result = store.AllValues(key, values); result != ERROR_SUCCESS)
        return result;
    for (const RegistryStore::Value& value : values) {
        if (HasLineBreak(value.name))
            return LONG(ERROR_BAD_FORMAT);
        const std::string nameText =
            (value.name.empty() ? std::string("@") : Quoted(value.name)) + "=";
        text += nameText;
        AppendData(value.type, value.data, nameText.size(), text);
        text += '\n';
    }
    return LONG(ERROR_SUCCESS);
}

// A key whose section is written, with the subkeys still to go; the walk keeps these on a
// stack of its own, so that no depth of keys can exhaust the program's stack.
struct PendingKey {
    HKEY key = nullptr;
    std::string path;
    std::vector<RegistryStore::SubKey> subKeys;
    std::size_t next = 0;
};

LONG WriteKey(RegistryStore& store, PendingKey& open, bool isHive, std::string& text)
{
    const std::size_t sectionStart = text.size();
    text += "[" + open.path + "]\n";
    const std::size_t valuesStart = text.size();
    if (const LONG result = AppendValues(store, open.key, text); result != ERROR_SUCCESS)
        return result;
    if (isHive && text.size() == valuesStart)
        text.resize(sectionStart);
    else
        text += '\n';
    return store.AllSubKeys(open.key, open.subKeys);
}

LONG ExportKey(RegistryStore& store, const RegistryHive& hive, const std::string& subKey,
               std::string& text)
{
    std::vector<PendingKey> stack(1);
    stack[0].path = subKey.empty() ? std::string(hive.name) : hive.name + ("\\" + subKey);
    LONG result = store.OpenKey(hive.key, subKey.c_str(), KEY_READ, stack[0].key);
    if (result == ERROR_SUCCESS)
        result = WriteKey(store, stack[0], subKey.empty(), text);
    while (result == ERROR_SUCCESS && !stack.empty()) {
        PendingKey& top = stack.back();
        if (top.next == top.subKeys.size()) {
            store.CloseKey(top.key);
            stack.pop_back();
            continue;
        }
        const std::string& name = top.subKeys[top.next++].name;
        PendingKey child;
        child.path = top.path + "\\" + name;
        result = HasLineBreak(name) ? LONG(ERROR_BAD_FORMAT)
                                    : store.OpenKey(top.key, name.c_str(), KEY_READ, child.key);
        if (result == ERROR_SUCCESS) {
            stack.push_back(std::move(child));
            result = WriteKey(store, stack.back(), false, text);
        }
    }
    for (const PendingKey& open : stack)
        store.CloseKey(open.key);
    return result;
}

// ---- reading ----

LONG WriteValue(RegistryStore& store, HKEY key, const RegistryTextReader::Value& value)
{
    if (!value.remove)
        return store.SetValue(key, value.name.c_str(), value.type, value.data);
    const LONG result = store.DeleteValue(key, value.name.c_str());
    return result == LONG(ERROR_FILE_NOT_FOUND) ? LONG(ERROR_SUCCESS) : result;
}

// Writes one section; line tells where a failure was.
LONG WriteSection(RegistryStore& store, const RegistryTextReader::Section& section, int& line)
{
    line = section.line;
    if (section.remove) {
        const LONG result = store.DeleteTree(section.hive, section.subKey.c_str());
        return result == LONG(ERROR_FILE_NOT_FOUND) ? LONG(ERROR_SUCCESS) : result;
    }
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = store.CreateKey(section.hive, section.subKey.c_str(), nullptr, KEY_ALL_ACCESS,
                                  key, disposition);
    for (auto value = section.values.begin();
         result == ERROR_SUCCESS && value != section.values.end(); ++value) {
        line = value->line;
        result = WriteValue(store, key, *value);
    }
    if (key)
        store.CloseKey(key);
    return result;
}

} // namespace

bool RegistryText::Export(const std::string& keyPath, std::string& text, std::string& error)
{
    text = std::string(kHeader) + "\n\n";
    std::vector<std::pair<RegistryHive, std::string>> roots;
    if (keyPath.empty()) {
        for (const RegistryHive& hive : RegistryHive::All())
            roots.emplace_back(hive, std::string());
    } else {
        RegistryHive hive;
        std::string subKey;
        if (!RegistryHive::Split(keyPath, hive, subKey))
            return error = "unknown hive in " + keyPath, false;
        roots.emplace_back(hive, subKey);
    }
    RegistryStore& store = RegistryStore::ForProcess();
    const LONG result = store.Transact(false, [&]() -> LONG {
        for (const auto& [hive, subKey] : roots) {
            if (const LONG r = ExportKey(store, hive, subKey, text); r != ERROR_SUCCESS)
                return r;
        }
        return LONG(ERROR_SUCCESS);
    });
    if (result != ERROR_SUCCESS)
        error = keyPath + ": " + StoreErrorText(result);
    return result == ERROR_SUCCESS;
}

bool RegistryText::Import(std::string_view text, std::string& error)
{
    std::vector<RegistryTextReader::Section> sections;
    RegistryTextReader reader;
    if (!reader.Read(text, sections)) {
        error = reader.Error();
        return false;
    }
    RegistryStore& store = RegistryStore::ForProcess();
    int line = 0;
    const LONG result = store.Transact(true, [&]() -> LONG {
        for (const RegistryTextReader::Section& section : sections) {
            if (const LONG r = WriteSection(store, section, line); r != ERROR_SUCCESS)
                return r;
        }
        return LONG(ERROR_SUCCESS);
    });
    if (result != ERROR_SUCCESS)
        error = (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) +
                StoreErrorText(result);
    return result == ERROR_SUCCESS;
}

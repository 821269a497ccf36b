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

std::string StoreErrorText(LONG code, const RegistryStore& store)
{
    switch (DWORD(code)) {
    case ERROR_FILE_NOT_FOUND:
        return "no such key";
    case ERROR_ACCESS_DENIED:
        return "the settings store is read-only";
    case ERROR_DIRECTORY:
        return "the settings store " + store.Path() + " is a folder, not a file";
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

// On a failure, where is the path of the key whose section could not be written.
LONG ExportKey(RegistryStore& store, const RegistryHive& hive, const std::string& subKey,
               std::string& text, std::string& where)
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
    if (result != ERROR_SUCCESS && !stack.empty())
        where = stack.back().path;
    for (const PendingKey& open : stack)
        store.CloseKey(open.key);
    return result;
}

// ---- reading ----

// Writes the edits of a text as the reader hands them out, and keeps where a failure was.
struct ImportWriter {
    RegistryStore& store;
    HKEY key = nullptr;
    int line = 0;
    LONG result = ERROR_SUCCESS;

    bool Begin(const RegistryTextReader::Section& section)
    {
        Close();
        line = section.line;
        if (section.remove) {
            result = store.DeleteTree(section.hive, section.subKey.c_str());
            if (result == LONG(ERROR_FILE_NOT_FOUND))
                result = ERROR_SUCCESS;
        } else {
            DWORD disposition = 0;
            result = store.CreateKey(section.hive, section.subKey.c_str(), nullptr, KEY_ALL_ACCESS,
                                     key, disposition);
        }
        return result == ERROR_SUCCESS;
    }

    bool Write(const RegistryTextReader::Value& value)
    {
        line = value.line;
        if (!value.remove) {
            result = store.SetValue(key, value.name.c_str(), value.type, value.data);
        } else {
            result = store.DeleteValue(key, value.name.c_str());
            if (result == LONG(ERROR_FILE_NOT_FOUND))
                result = ERROR_SUCCESS;
        }
        return result == ERROR_SUCCESS;
    }

    void Close()
    {
        if (key)
            store.CloseKey(key);
        key = nullptr;
    }
};

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
    std::string where = keyPath;
    const LONG result = store.Transact(false, [&]() -> LONG {
        for (const auto& [hive, subKey] : roots) {
            if (const LONG r = ExportKey(store, hive, subKey, text, where); r != ERROR_SUCCESS)
                return r;
        }
        return LONG(ERROR_SUCCESS);
    });
    if (result != ERROR_SUCCESS)
        error = (where.empty() ? std::string() : where + ": ") + StoreErrorText(result, store);
    return result == ERROR_SUCCESS;
}

// The text is read twice, first to check all of it and then to write it, so that a bad text
// is told as such whatever state the store is in, and nothing of the text is held meanwhile.
bool RegistryText::Import(std::string_view text, std::string& error)
{
    return Import(text, RegistryStore::ForProcess(), error);
}

bool RegistryText::Import(std::string_view text, RegistryStore& store, std::string& error)
{
    RegistryTextReader reader(text);
    if (!reader.Read({}, {})) {
        error = reader.Error();
        return false;
    }
    ImportWriter writer{store};
    const LONG result = store.Transact(true, [&]() -> LONG {
        reader.Read([&](const RegistryTextReader::Section& s) { return writer.Begin(s); },
                    [&](const RegistryTextReader::Value& v) { return writer.Write(v); });
        writer.Close();
        return writer.result;
    });
    // A failure that no line of the text caused (a busy store at the start or at the commit)
    // names no line.
    if (result != ERROR_SUCCESS)
        error = (writer.result != ERROR_SUCCESS ? "line " + std::to_string(writer.line) + ": "
                                                : std::string()) +
                StoreErrorText(result, store);
    return result == ERROR_SUCCESS;
}

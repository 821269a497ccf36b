#include "platform/registry/RegistryText.h"

#include "platform/registry/RegistryStore.h"
#include "platform/registry/WinReg.h"

#include <array>
#include <cstdio>
#include <strings.h>
#include <vector>

namespace
{

constexpr const char* kHeader = "REGEDIT4";
constexpr std::size_t kHexLineWidth = 76;
constexpr DWORD kMaxValueNameBuffer = 16384;

struct Hive {
    const char* name;
    HKEY key;
};
const std::array<Hive, 3> kHives = {{{"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                                     {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                     {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}}};

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::string data;
};
struct Section {
    HKEY hive = nullptr;
    std::string subKey;
    std::vector<Value> values;
};

std::string StoreErrorText(LONG code)
{
    switch (DWORD(code)) {
    case ERROR_FILE_NOT_FOUND:
        return "no such key";
    case ERROR_ACCESS_DENIED:
        return "the settings store is read-only";
    case ERROR_BADDB:
        return "the settings store is damaged or not a settings store";
    case ERROR_INVALID_PARAMETER:
        return "a key or value name is too long";
    case ERROR_BAD_FORMAT:
        return "a key or value name holds a line break, which REGEDIT4 text cannot hold";
    default:
        return "the settings store failed (error " + std::to_string(code) + ")";
    }
}

// The hive and the subkey path of "HKEY_...\sub\key".
bool SplitKeyPath(const std::string& path, Hive& hive, std::string& subKey)
{
    const std::size_t slash = path.find('\\');
    const std::string hiveName = path.substr(0, slash);
    subKey = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    for (const Hive& candidate : kHives) {
        if (strcasecmp(candidate.name, hiveName.c_str()) == 0) {
            hive = candidate;
            return true;
        }
    }
    return false;
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
std::string HexList(const std::string& prefix, const std::string& data, std::size_t column)
{
    std::string text = prefix;
    column += text.size();
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
    return text;
}

std::string DataText(DWORD type, const std::string& data, std::size_t column)
{
    if (type == REG_SZ && data.find_first_of(std::string("\0\r\n", 3)) == std::string::npos)
        return Quoted(data);
    if (type == REG_DWORD && data.size() == 4) {
        const DWORD value = DWORD(BYTE(data[0])) | DWORD(BYTE(data[1])) << 8 |
                            DWORD(BYTE(data[2])) << 16 | DWORD(BYTE(data[3])) << 24;
        char text[20];
        std::snprintf(text, sizeof text, "dword:%08x", unsigned(value));
        return text;
    }
    if (type == REG_BINARY)
        return HexList("hex:", data, column);
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", unsigned(type));
    return HexList(prefix, data, column);
}

LONG WriteValues(HKEY key, std::string& values)
{
    std::vector<char> name(kMaxValueNameBuffer);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kMaxValueNameBuffer;
        DWORD type = 0;
        DWORD size = 0;
        LONG result =
            RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size);
        if (result == LONG(ERROR_NO_MORE_ITEMS))
            return LONG(ERROR_SUCCESS);
        std::string data(size, '\0');
        nameLength = kMaxValueNameBuffer;
        if (result == ERROR_SUCCESS)
            result = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(data.data()), &size);
        if (result != ERROR_SUCCESS)
            return result;
        const std::string valueName(name.data(), nameLength);
        if (HasLineBreak(valueName))
            return LONG(ERROR_BAD_FORMAT);
        const std::string nameText =
            (valueName.empty() ? std::string("@") : Quoted(valueName)) + "=";
        values += nameText + DataText(type, data, nameText.size()) + "\n";
    }
}

LONG WriteKey(HKEY key, const std::string& path, bool isHive, std::string& text)
{
    std::string values;
    if (const LONG result = WriteValues(key, values); result != ERROR_SUCCESS)
        return result;
    if (!isHive || !values.empty())
        text += "[" + path + "]\n" + values + "\n";
    for (DWORD index = 0;; ++index) {
        char name[MAX_PATH];
        DWORD length = MAX_PATH;
        LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == LONG(ERROR_NO_MORE_ITEMS))
            return LONG(ERROR_SUCCESS);
        HKEY child = nullptr;
        if (result == ERROR_SUCCESS && HasLineBreak(name))
            result = LONG(ERROR_BAD_FORMAT);
        if (result == ERROR_SUCCESS)
            result = RegOpenKeyExA(key, name, 0, KEY_READ, &child);
        if (result == ERROR_SUCCESS) {
            result = WriteKey(child, path + "\\" + name, false, text);
            RegCloseKey(child);
        }
        if (result != ERROR_SUCCESS)
            return result;
    }
}

LONG ExportKey(const Hive& hive, const std::string& subKey, std::string& text)
{
    HKEY key = nullptr;
    if (const LONG result = RegOpenKeyExA(hive.key, subKey.c_str(), 0, KEY_READ, &key);
        result != ERROR_SUCCESS)
        return result;
    const std::string path = subKey.empty() ? std::string(hive.name) : hive.name + ("\\" + subKey);
    const LONG result = WriteKey(key, path, subKey.empty(), text);
    RegCloseKey(key);
    return result;
}

// ---- reading ----

class Parser
{
public:
    explicit Parser(const std::string& text) : m_text(text) {}

    bool Parse(std::vector<Section>& sections);
    const std::string& Error() const { return m_error; }

private:
    bool NextLine(std::string& line);
    bool ParseSection(const std::string& line, std::vector<Section>& sections);
    bool ParseValue(const std::string& line, Value& value);
    bool ParseQuoted(const std::string& line, std::size_t& pos, std::string& text);
    bool ParseData(const std::string& data, Value& value);
    bool ParseHex(const std::string& list, std::string& bytes);
    bool Fail(const std::string& message);

    const std::string& m_text;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
    int m_nextLineNumber = 1;
    std::string m_error;
};

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

bool Parser::Fail(const std::string& message)
{
    m_error = m_lineNumber > 0 ? "line " + std::to_string(m_lineNumber) + ": " + message : message;
    return false;
}

// The next logical line: a hex list may go on over lines that end with a backslash.
bool Parser::NextLine(std::string& line)
{
    if (m_pos >= m_text.size())
        return false;
    m_lineNumber = m_nextLineNumber;
    line.clear();
    for (;;) {
        const std::size_t end = std::min(m_text.find('\n', m_pos), m_text.size());
        std::string part = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        ++m_nextLineNumber;
        if (!part.empty() && part.back() == '\r')
            part.pop_back();
        line += line.empty() ? part : Trimmed(part);
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == '[' || trimmed.front() == ';' ||
            trimmed.back() != '\\' || m_pos >= m_text.size())
            return true;
        line = trimmed.substr(0, trimmed.size() - 1);
    }
}

bool Parser::Parse(std::vector<Section>& sections)
{
    std::string line;
    bool header = false;
    while (NextLine(line)) {
        std::string trimmed = Trimmed(line);
        if (!header && trimmed.rfind("\xEF\xBB\xBF", 0) == 0)
            trimmed.erase(0, 3);
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        if (!header) {
            header = trimmed == kHeader;
            if (!header)
                return Fail("not a REGEDIT4 file (the first line must be REGEDIT4)");
        } else if (trimmed.front() == '[') {
            if (!ParseSection(trimmed, sections))
                return false;
        } else {
            if (sections.empty())
                return Fail("a value before the first [key] line");
            Value value;
            if (!ParseValue(trimmed, value))
                return false;
            sections.back().values.push_back(std::move(value));
        }
    }
    return header || Fail("not a REGEDIT4 file (it is empty)");
}

bool Parser::ParseSection(const std::string& line, std::vector<Section>& sections)
{
    if (line.back() != ']')
        return Fail("a key line must end with ]");
    const std::string path = line.substr(1, line.size() - 2);
    if (!path.empty() && path.front() == '-')
        return Fail("deleting keys is not supported");
    Hive hive{};
    Section section;
    if (!SplitKeyPath(path, hive, section.subKey))
        return Fail("unknown hive in [" + path +
                    "]; use HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE "
                    "or HKEY_CLASSES_ROOT");
    section.hive = hive.key;
    sections.push_back(std::move(section));
    return true;
}

bool Parser::ParseQuoted(const std::string& line, std::size_t& pos, std::string& text)
{
    for (++pos; pos < line.size(); ++pos) {
        char ch = line[pos];
        if (ch == '"') {
            ++pos;
            return true;
        }
        if (ch == '\\') {
            if (++pos >= line.size() || (line[pos] != '\\' && line[pos] != '"'))
                return Fail("only \\\\ and \\\" may follow a backslash in quotes");
            ch = line[pos];
        }
        text += ch;
    }
    return Fail("missing closing quote");
}

bool Parser::ParseValue(const std::string& line, Value& value)
{
    std::size_t pos = 0;
    if (line.front() == '@')
        pos = 1;
    else if (line.front() != '"' || !ParseQuoted(line, pos, value.name))
        return m_error.empty() ? Fail("expected \"name\"=value or @=value") : false;
    const std::size_t equals = line.find_first_not_of(" \t", pos);
    if (equals == std::string::npos || line[equals] != '=')
        return Fail("expected = after the value name");
    return ParseData(Trimmed(line.substr(equals + 1)), value);
}

bool Parser::ParseData(const std::string& data, Value& value)
{
    if (data.front() == '"') {
        std::size_t pos = 0;
        value.type = REG_SZ;
        if (!ParseQuoted(data, pos, value.data))
            return false;
        return pos == data.size() || Fail("unexpected text after the closing quote");
    }
    if (data == "-")
        return Fail("deleting values is not supported");
    if (data.rfind("dword:", 0) == 0) {
        const std::string digits = data.substr(6);
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return Fail("dword: needs 1 to 8 hexadecimal digits");
        const DWORD number = DWORD(std::stoul(digits, nullptr, 16));
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            value.data += char((number >> shift) & 0xFF);
        return true;
    }
    std::size_t listStart = 0;
    if (data.rfind("hex:", 0) == 0) {
        value.type = REG_BINARY;
        listStart = 4;
    } else if (data.rfind("hex(", 0) == 0) {
        const std::size_t close = data.find("):");
        const std::string digits = close == std::string::npos ? "" : data.substr(4, close - 4);
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return Fail("hex(N): needs a hexadecimal type number N");
        value.type = DWORD(std::stoul(digits, nullptr, 16));
        listStart = close + 2;
    } else {
        return Fail("unknown value data; expected \"text\", dword:, hex: or hex(N):");
    }
    return ParseHex(data.substr(listStart), value.data);
}

bool Parser::ParseHex(const std::string& list, std::string& bytes)
{
    std::size_t pos = 0;
    while (pos < list.size()) {
        const std::size_t comma = std::min(list.find(',', pos), list.size());
        const std::string digits = Trimmed(list.substr(pos, comma - pos));
        pos = comma + 1;
        if (digits.empty() && pos >= list.size())
            break; // a trailing comma
        if (digits.empty() || digits.size() > 2 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return Fail("bad byte \"" + digits + "\" in a hex list");
        bytes += char(std::stoul(digits, nullptr, 16));
    }
    return true;
}

LONG WriteSections(const std::vector<Section>& sections)
{
    for (const Section& section : sections) {
        HKEY key = nullptr;
        LONG result =
            RegCreateKeyExA(section.hive, section.subKey.c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        for (auto value = section.values.begin();
             result == ERROR_SUCCESS && value != section.values.end(); ++value)
            result = RegSetValueExA(key, value->name.c_str(), 0, value->type,
                                    reinterpret_cast<const BYTE*>(value->data.data()),
                                    DWORD(value->data.size()));
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return result;
    }
    return LONG(ERROR_SUCCESS);
}

} // namespace

bool RegistryText::Export(const std::string& keyPath, std::string& text, std::string& error)
{
    text = std::string(kHeader) + "\n\n";
    std::vector<std::pair<Hive, std::string>> roots;
    if (keyPath.empty()) {
        for (const Hive& hive : kHives)
            roots.emplace_back(hive, std::string());
    } else {
        Hive hive{};
        std::string subKey;
        if (!SplitKeyPath(keyPath, hive, subKey))
            return error = "unknown hive in " + keyPath, false;
        roots.emplace_back(hive, subKey);
    }
    const LONG result = RegistryStore::ForProcess().Transact(false, [&]() -> LONG {
        for (const auto& [hive, subKey] : roots) {
            if (const LONG r = ExportKey(hive, subKey, text); r != ERROR_SUCCESS)
                return r;
        }
        return LONG(ERROR_SUCCESS);
    });
    if (result != ERROR_SUCCESS)
        error = keyPath + ": " + StoreErrorText(result);
    return result == ERROR_SUCCESS;
}

bool RegistryText::Import(const std::string& text, std::string& error)
{
    std::vector<Section> sections;
    Parser parser(text);
    if (!parser.Parse(sections)) {
        error = parser.Error();
        return false;
    }
    const LONG result =
        RegistryStore::ForProcess().Transact(true, [&] { return WriteSections(sections); });
    if (result != ERROR_SUCCESS)
        error = StoreErrorText(result);
    return result == ERROR_SUCCESS;
}

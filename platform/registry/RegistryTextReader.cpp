#include "platform/registry/RegistryTextReader.h"

#include "platform/registry/RegistryHive.h"

#include <QString>

#include <algorithm>

namespace
{

constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kRegedit5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHexDigits = "0123456789abcdefABCDEF";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string_view();
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool IsHexNumber(std::string_view digits, std::size_t maxDigits)
{
    return !digits.empty() && digits.size() <= maxDigits &&
           digits.find_first_not_of(kHexDigits) == std::string_view::npos;
}

// digits as IsHexNumber checked them.
DWORD HexNumber(std::string_view digits)
{
    DWORD number = 0;
    for (const char digit : digits)
        number = number << 4 | DWORD(digit <= '9' ? digit - '0' : (digit | 0x20) - 'a' + 10);
    return number;
}

// UTF-8 of UTF-16LE bytes; false for an odd count of bytes.
bool FromUtf16(std::string_view bytes, std::string& text)
{
    if (bytes.size() % 2 != 0)
        return false;
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(BYTE(bytes[2 * i]) | BYTE(bytes[2 * i + 1]) << 8);
    text = QString::fromUtf16(units.data(), qsizetype(units.size())).toStdString();
    return true;
}

std::size_t Depth(std::string_view subKey)
{
    std::size_t depth = 0;
    for (std::size_t start = 0; start <= subKey.size();) {
        const std::size_t end = std::min(subKey.find('\\', start), subKey.size());
        depth += end > start;
        start = end + 1;
    }
    return depth;
}

} // namespace

bool RegistryTextReader::Fail(const std::string& message)
{
    m_error = m_lineNumber > 0 ? "line " + std::to_string(m_lineNumber) + ": " + message : message;
    return false;
}

bool RegistryTextReader::Read(std::string_view text, std::vector<Section>& sections)
{
    const bool utf16 = StartsWith(text, "\xFF\xFE");
    if (utf16 && !FromUtf16(text.substr(2), m_text))
        return Fail("the UTF-16 text ends in half a character");
    if (!utf16)
        m_text = StartsWith(text, "\xEF\xBB\xBF") ? text.substr(3) : text;
    std::string line;
    bool header = false;
    while (NextLine(line)) {
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        if (!header) {
            if (!ReadHeader(trimmed))
                return false;
            header = true;
        } else if (trimmed.front() == '[') {
            if (!ReadSection(trimmed, sections))
                return false;
        } else {
            if (sections.empty())
                return Fail("a value before the first [key] line");
            if (sections.back().remove)
                return Fail("a value under a key that is being deleted");
            Value value;
            value.line = m_lineNumber;
            if (!ReadValue(trimmed, value))
                return false;
            sections.back().values.push_back(std::move(value));
        }
    }
    return header || Fail("not a REGEDIT4 file (it is empty)");
}

// The next logical line: a hex list may go on over lines that end with a backslash. Each piece
// is looked at once, so that a long list costs no more than its length.
bool RegistryTextReader::NextLine(std::string& line)
{
    if (m_pos >= m_text.size())
        return false;
    m_lineNumber = m_nextLineNumber;
    line.clear();
    for (;;) {
        const std::size_t end = std::min(m_text.find('\n', m_pos), m_text.size());
        std::string_view part(m_text.data() + m_pos, end - m_pos);
        m_pos = end + 1;
        ++m_nextLineNumber;
        if (!part.empty() && part.back() == '\r')
            part.remove_suffix(1);
        line.append(line.empty() ? part : Trimmed(part));
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        const std::size_t lead = line.find_first_not_of(" \t");
        if (lead == std::string::npos || line[lead] == '[' || line[lead] == ';' ||
            line.back() != '\\' || m_pos >= m_text.size())
            return true;
        line.pop_back();
    }
}

bool RegistryTextReader::ReadHeader(std::string_view line)
{
    if (line == kRegedit4 || line == kRegedit5) {
        m_unicode = line == kRegedit5;
        return true;
    }
    return Fail("not a REGEDIT4 file (the first line must be REGEDIT4 or " +
                std::string(kRegedit5) + ")");
}

bool RegistryTextReader::ReadSection(std::string_view line, std::vector<Section>& sections)
{
    if (line.back() != ']')
        return Fail("a key line must end with ]");
    Section section;
    section.line = m_lineNumber;
    std::string_view path = line.substr(1, line.size() - 2);
    section.remove = !path.empty() && path.front() == '-';
    if (section.remove)
        path.remove_prefix(1);
    RegistryHive hive;
    if (!RegistryHive::Split(std::string(path), hive, section.subKey))
        return Fail("unknown hive in [" + std::string(path) +
                    "]; use HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT");
    if (section.remove && Depth(section.subKey) == 0)
        return Fail("a hive cannot be deleted");
    if (Depth(section.subKey) > kMaxDepth)
        return Fail("the key is deeper than " + std::to_string(kMaxDepth) + " levels");
    if (!CheckName(section.subKey))
        return false;
    section.hive = hive.key;
    sections.push_back(std::move(section));
    return true;
}

bool RegistryTextReader::CheckName(std::string_view name)
{
    if (name.find('\0') != std::string_view::npos)
        return Fail("a name holds a zero byte");
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return Fail("a name holds a line break");
    return true;
}

bool RegistryTextReader::ReadQuoted(std::string_view line, std::size_t& pos, std::string& text)
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

bool RegistryTextReader::ReadValue(std::string_view line, Value& value)
{
    std::size_t pos = 0;
    if (line.front() == '@')
        pos = 1;
    else if (line.front() != '"')
        return Fail("expected \"name\"=value or @=value");
    else if (!ReadQuoted(line, pos, value.name) || !CheckName(value.name))
        return false;
    const std::size_t equals = line.find_first_not_of(" \t", pos);
    if (equals == std::string_view::npos || line[equals] != '=')
        return Fail("expected = after the value name");
    const std::string_view data = Trimmed(line.substr(equals + 1));
    if (data.empty())
        return Fail("expected data after =");
    return ReadData(data, value);
}

bool RegistryTextReader::ReadData(std::string_view data, Value& value)
{
    if (data.front() == '"') {
        std::size_t pos = 0;
        value.type = REG_SZ;
        if (!ReadQuoted(data, pos, value.data))
            return false;
        return pos == data.size() || Fail("unexpected text after the closing quote");
    }
    if (data == "-") {
        value.remove = true;
        return true;
    }
    if (StartsWith(data, "dword:")) {
        if (!IsHexNumber(data.substr(6), 8))
            return Fail("dword: needs 1 to 8 hexadecimal digits");
        const DWORD number = HexNumber(data.substr(6));
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            value.data += char((number >> shift) & 0xFF);
        return true;
    }
    if (StartsWith(data, "hex:")) {
        value.type = REG_BINARY;
        return ReadHex(data.substr(4), value.type, value.data);
    }
    const std::size_t close = data.find("):");
    if (!StartsWith(data, "hex(") || close == std::string_view::npos)
        return Fail("unknown value data; expected \"text\", dword:, hex: or hex(N):");
    if (!IsHexNumber(data.substr(4, close - 4), 8))
        return Fail("hex(N): needs a hexadecimal type number N");
    value.type = HexNumber(data.substr(4, close - 4));
    return ReadHex(data.substr(close + 2), value.type, value.data);
}

bool RegistryTextReader::ReadHex(std::string_view list, DWORD type, std::string& bytes)
{
    std::string raw;
    raw.reserve(list.size() / 3 + 1);
    for (std::size_t pos = 0; pos < list.size();) {
        const std::size_t comma = std::min(list.find(',', pos), list.size());
        const std::string_view digits = Trimmed(list.substr(pos, comma - pos));
        pos = comma + 1;
        if (digits.empty() && pos >= list.size())
            break; // a trailing comma
        if (!IsHexNumber(digits, 2))
            return Fail("bad byte \"" + std::string(digits) + "\" in a hex list");
        raw += char(HexNumber(digits));
    }
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    if (!m_unicode || !isText) {
        bytes = std::move(raw);
        return true;
    }
    return FromUtf16(raw, bytes) || Fail("UTF-16 string data with an odd count of bytes");
}

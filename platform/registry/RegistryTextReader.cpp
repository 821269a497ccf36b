#include "platform/registry/RegistryTextReader.h"

#include "platform/registry/RegistryHive.h"

#include <algorithm>

namespace
{

constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kRegedit5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHexDigits = "0123456789abcdefABCDEF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::string_view();
    return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

// Data other than a quoted string holds no ";", so one starts a comment.
std::string_view WithoutComment(std::string_view data)
{
    return Trimmed(data.substr(0, data.find(';')));
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

void AppendUtf8(char32_t code, std::string& text)
{
    if (code < 0x80) {
        text += char(code);
        return;
    }
    constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text += char(lead[tail] | (code >> (6 * tail)));
    for (int shift = 6 * (tail - 1); shift >= 0; shift -= 6)
        text += char(0x80 | ((code >> shift) & 0x3F));
}

// UTF-8 of UTF-16LE bytes; null, or what makes them no UTF-16.
const char* FromUtf16(std::string_view bytes, std::string& text)
{
    if (bytes.size() % 2 != 0)
        return "ends in half a character";
    const std::size_t count = bytes.size() / 2;
    const auto unit = [&](std::size_t i) {
        return char32_t(BYTE(bytes[2 * i]) | BYTE(bytes[2 * i + 1]) << 8);
    };
    text.clear();
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDFFF) {
            const char32_t low = i + 1 < count ? unit(i + 1) : 0;
            // Names told apart by a lone surrogate would all become one name.
            if (code > 0xDBFF || low < 0xDC00 || low > 0xDFFF)
                return "holds a lone surrogate, which is not valid UTF-16";
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        AppendUtf8(code, text);
    }
    return nullptr;
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

RegistryTextReader::RegistryTextReader(std::string_view text) : m_source(text) {}

bool RegistryTextReader::Fail(const std::string& message)
{
    m_error = m_lineNumber > 0 ? "line " + std::to_string(m_lineNumber) + ": " + message : message;
    return false;
}

bool RegistryTextReader::Decode()
{
    if (!StartsWith(m_source, "\xFF\xFE")) {
        m_text = StartsWith(m_source, "\xEF\xBB\xBF") ? m_source.substr(3) : m_source;
        return true;
    }
    if (m_decoded.empty()) {
        if (const char* problem = FromUtf16(m_source.substr(2), m_decoded))
            return Fail(std::string("the UTF-16 text ") + problem);
    }
    m_text = m_decoded;
    return true;
}

bool RegistryTextReader::Read(const SectionSink& onSection, const ValueSink& onValue)
{
    m_error.clear();
    m_pos = 0;
    m_lineNumber = 0;
    m_nextLineNumber = 1;
    if (!Decode())
        return false;
    std::string_view line;
    bool header = false;
    bool deleting = false;
    bool inSection = false;
    while (NextLine(line)) {
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        if (!header) {
            if (!ReadHeader(trimmed))
                return false;
            header = true;
        } else if (trimmed.front() == '[') {
            Section section;
            if (!ReadSection(trimmed, section) || (onSection && !onSection(section)))
                return false;
            inSection = true;
            deleting = section.remove;
        } else {
            if (!inSection)
                return Fail("a value before the first [key] line");
            if (deleting)
                return Fail("a value under a key that is being deleted");
            Value value;
            value.line = m_lineNumber;
            if (!ReadValue(trimmed, value) || (onValue && !onValue(value)))
                return false;
        }
    }
    return header || Fail("not a REGEDIT4 file (it is empty)");
}

// The next line of the text, ended by CR LF, LF or a lone CR.
bool RegistryTextReader::NextLine(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    m_lineNumber = m_nextLineNumber++;
    const std::size_t end = std::min(m_text.find_first_of("\r\n", m_pos), m_text.size());
    line = m_text.substr(m_pos, end - m_pos);
    m_pos = end + (m_text.substr(end, 2) == "\r\n" ? 2 : 1);
    return true;
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

bool RegistryTextReader::ReadSection(std::string_view line, Section& section)
{
    if (line.back() != ']')
        return Fail("a key line must end with ]");
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
    if (section.subKey.find('\0') != std::string::npos)
        return Fail("a name holds a zero byte");
    section.hive = hive.key;
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
    else if (!ReadQuoted(line, pos, value.name))
        return false;
    if (value.name.find('\0') != std::string::npos)
        return Fail("a name holds a zero byte");
    const std::size_t equals = line.find_first_not_of(kBlanks, pos);
    if (equals == std::string_view::npos || line[equals] != '=')
        return Fail("expected = after the value name");
    const std::string_view data = Trimmed(line.substr(equals + 1));
    if (data.empty() || data.front() == ';')
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
        const std::string_view rest = Trimmed(data.substr(pos));
        return rest.empty() || rest.front() == ';' ||
               Fail("unexpected text after the closing quote");
    }
    if (WithoutComment(data) == "-") {
        value.remove = true;
        return true;
    }
    if (StartsWith(data, "dword:"))
        return ReadDword(WithoutComment(data.substr(6)), value);
    if (StartsWith(data, "hex:")) {
        value.type = REG_BINARY;
        return ReadHexList(data.substr(4), value.type, value.data);
    }
    const std::size_t close = data.find("):");
    if (!StartsWith(data, "hex(") || close == std::string_view::npos)
        return Fail("unknown value data; expected \"text\", dword:, hex: or hex(N):");
    if (!IsHexNumber(data.substr(4, close - 4), 8))
        return Fail("hex(N): needs a hexadecimal type number N");
    value.type = HexNumber(data.substr(4, close - 4));
    return ReadHexList(data.substr(close + 2), value.type, value.data);
}

bool RegistryTextReader::ReadDword(std::string_view digits, Value& value)
{
    if (!IsHexNumber(digits, 8))
        return Fail("dword: needs 1 to 8 hexadecimal digits");
    const DWORD number = HexNumber(digits);
    value.type = REG_DWORD;
    for (int shift = 0; shift < 32; shift += 8)
        value.data += char((number >> shift) & 0xFF);
    return true;
}

// A hex list goes on over the lines that follow as long as each ends in a backslash. Each line
// is looked at once, so that a long list costs no more than its length.
bool RegistryTextReader::ReadHexList(std::string_view first, DWORD type, std::string& bytes)
{
    std::string list;
    std::string_view piece = WithoutComment(first);
    while (!piece.empty() && piece.back() == '\\') {
        list += piece.substr(0, piece.size() - 1);
        const int valueLine = m_lineNumber;
        std::string_view next;
        const bool more = NextLine(next);
        m_lineNumber = valueLine; // faults are told at the value's first line
        piece = more ? WithoutComment(next) : std::string_view();
    }
    list += piece;
    return ReadHex(list, type, bytes);
}

bool RegistryTextReader::ReadHex(std::string_view list, DWORD type, std::string& bytes)
{
    std::string raw;
    raw.reserve(list.size() / 3 + 1);
    for (std::size_t pos = 0; pos < list.size();) {
        const std::size_t comma = std::min(list.find(',', pos), list.size());
        const std::string_view digits = Trimmed(list.substr(pos, comma - pos));
        pos = comma + 1;
        if (digits.empty() && pos >= list.size() && !raw.empty())
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
    if (const char* problem = FromUtf16(raw, bytes))
        return Fail(std::string("the UTF-16 string data ") + problem);
    return true;
}

#include "render/formats/JsonTree.h"

#include "render/formats/ListFormatError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace
{
// Nesting deeper than this is no timeline, and would only exhaust the stack.
constexpr int kMaxDepth = 200;

void AppendUtf8(std::string& text, std::uint32_t code)
{
    if (code < 0x80) {
        text += char(code);
    } else if (code < 0x800) {
        text += char(0xC0 | (code >> 6));
        text += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += char(0xE0 | (code >> 12));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    } else {
        text += char(0xF0 | (code >> 18));
        text += char(0x80 | ((code >> 12) & 0x3F));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    }
}

std::uint32_t Hex4(std::string_view text, std::size_t at)
{
    std::uint32_t code = 0;
    std::from_chars(text.data() + at, text.data() + std::min(text.size(), at + 4), code, 16);
    return code;
}
} // namespace

void JsonTree::Parse(std::string_view text)
{
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw ListFormatError("The file is too large for JSON read here.");
    m_text = text;
    m_pos = 0;
    m_values.clear();
    ParseValue(0);
    SkipSpace();
    if (m_pos != m_text.size())
        Fail("more text follows the end of the JSON");
}

double JsonTree::Number(Index value) const
{
    return TypeOf(value) == Type::Number ? m_values[value].number
                                         : std::numeric_limits<double>::quiet_NaN();
}

std::string JsonTree::String(Index value) const
{
    return TypeOf(value) == Type::String ? Unescape(Text(m_values[value].text)) : std::string();
}

JsonTree::Index JsonTree::Member(Index object, std::string_view name) const
{
    if (TypeOf(object) != Type::Object)
        return None;
    for (Index member = First(object); member != None; member = Next(member))
        if (Text(m_values[member].name) == name)
            return member;
    return None;
}

void JsonTree::SkipSpace()
{
    while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' ||
                                     m_text[m_pos] == '\r' || m_text[m_pos] == '\t'))
        ++m_pos;
}

void JsonTree::Fail(const std::string& what) const
{
    const std::size_t end = std::min(m_pos, m_text.size());
    const long line = 1 + long(std::count(m_text.begin(), m_text.begin() + long(end), '\n'));
    throw ListFormatError::AtLine(line, what);
}

JsonTree::Index JsonTree::ParseValue(int depth)
{
    if (depth > kMaxDepth)
        Fail("the JSON nests deeper than a timeline does");
    SkipSpace();
    if (m_pos >= m_text.size())
        Fail("the JSON ends where a value should be");
    const Index index = Index(m_values.size());
    m_values.emplace_back();
    const std::string_view rest = m_text.substr(m_pos);
    const char c = rest[0];
    if (c == '{' || c == '[') {
        m_values[index].type = c == '{' ? Type::Object : Type::Array;
        ++m_pos;
        ParseContainer(index, c == '{' ? '}' : ']', depth);
    } else if (c == '"') {
        m_values[index].type = Type::String;
        m_values[index].text = ParseString();
    } else if (rest.starts_with("true") || rest.starts_with("false")) {
        m_values[index].type = Type::Boolean;
        m_values[index].number = c == 't';
        m_pos += c == 't' ? 4 : 5;
    } else if (rest.starts_with("null")) {
        m_pos += 4;
    } else {
        m_values[index].type = Type::Number;
        m_values[index].number = ParseNumber();
    }
    return index;
}

void JsonTree::ParseContainer(Index container, char close, int depth)
{
    Index last = None;
    SkipSpace();
    if (m_pos < m_text.size() && m_text[m_pos] == close) {
        ++m_pos;
        return;
    }
    while (true) {
        Span name;
        if (close == '}') {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                Fail("a member of an object has no name in quotes");
            name = ParseString();
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                Fail("a member's name is not followed by \":\"");
            ++m_pos;
        }
        const Index element = ParseValue(depth + 1);
        m_values[element].name = name;
        (last == None ? m_values[container].first : m_values[last].next) = element;
        last = element;
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            ++m_pos;
        } else if (m_pos < m_text.size() && m_text[m_pos] == close) {
            ++m_pos;
            return;
        } else {
            Fail(std::string("an element is followed by neither \",\" nor \"") + close + "\"");
        }
    }
}

JsonTree::Span JsonTree::ParseString()
{
    const std::size_t start = ++m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != '"')
        m_pos += m_text[m_pos] == '\\' ? 2 : 1;
    if (m_pos >= m_text.size())
        Fail("a string has no closing quote");
    return {std::uint32_t(start), std::uint32_t(m_pos++ - start)};
}

double JsonTree::ParseNumber()
{
    // from_chars takes "Inf", "-Infinity" and "NaN" too, as OpenTimelineIO writes them.
    const std::string_view rest = m_text.substr(m_pos);
    double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (end == rest.data() || rest[0] == '+')
        Fail("\"" + std::string(rest.substr(0, 20)) + "\" is no JSON value");
    m_pos += std::size_t(end - rest.data());
    // Numbers beyond a double's range are infinite; wide integers keep their nearest double.
    if (error == std::errc::result_out_of_range)
        value = rest[0] == '-' ? -std::numeric_limits<double>::infinity()
                               : std::numeric_limits<double>::infinity();
    return value;
}

std::string JsonTree::Unescape(std::string_view text)
{
    if (text.find('\\') == std::string_view::npos)
        return std::string(text);
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            plain += text[i];
            continue;
        }
        const char escape = text[++i];
        if (escape == 'u') {
            std::uint32_t code = Hex4(text, i + 1);
            i += 4;
            // A pair of surrogates is one character beyond the first plane.
            if (code >= 0xD800 && code < 0xDC00 && i + 6 < text.size() && text[i + 1] == '\\' &&
                text[i + 2] == 'u') {
                const std::uint32_t low = Hex4(text, i + 3);
                if (low >= 0xDC00 && low < 0xE000) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    i += 6;
                }
            }
            AppendUtf8(plain, code);
            continue;
        }
        constexpr std::string_view from = "bfnrt", to = "\b\f\n\r\t";
        const std::size_t mapped = from.find(escape);
        plain += mapped == std::string_view::npos ? escape : to[mapped];
    }
    return plain;
}

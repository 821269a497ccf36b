#include "render/formats/MpvEdlFormat.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListText.h"

#include <cmath>
#include <map>

namespace
{
// One segment or header line, parameter by parameter.
class SegmentParser
{
public:
    SegmentParser(std::string_view text, std::size_t pos, long line)
        : m_text(text), m_pos(pos), m_line(line)
    {
    }

    // The parameters up to the end of the segment: named ones by name, the others by
    // position ("0", "1", ...).
    std::map<std::string, std::string> Parameters()
    {
        std::map<std::string, std::string> parameters;
        for (int position = 0;; ++position) {
            std::string name = std::to_string(position);
            std::size_t end = m_text.find_first_of("=%,;\n", m_pos);
            if (end != std::string_view::npos && m_text[end] == '=') {
                name = std::string(m_text.substr(m_pos, end - m_pos));
                m_pos = end + 1;
            }
            parameters[name] = Value();
            if (m_pos >= m_text.size() || m_text[m_pos] != ',')
                return parameters;
            ++m_pos;
        }
    }

    std::size_t Position() const { return m_pos; }
    long Line() const { return m_line; }

private:
    std::string Value()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == '%')
            return CountedValue();
        const std::size_t end = std::min(m_text.find_first_of(",;\n", m_pos), m_text.size());
        std::string value(m_text.substr(m_pos, end - m_pos));
        m_pos = end;
        if (!value.empty() && value.back() == '\r')
            value.pop_back();
        return value;
    }

    // "%N%" and then N bytes, whatever they are.
    std::string CountedValue()
    {
        const std::size_t close = m_text.find('%', m_pos + 1);
        double count = 0;
        if (close == std::string_view::npos ||
            !ListText::ParseNumber(m_text.substr(m_pos + 1, close - m_pos - 1), count) ||
            count < 0 || count != std::floor(count))
            throw ListFormatError::AtLine(m_line, "a value begins with \"%\" but no byte count");
        if (count > double(m_text.size() - close - 1))
            throw ListFormatError::AtLine(m_line, "a counted value runs past the end of the file");
        std::string value(m_text.substr(close + 1, std::size_t(count)));
        m_pos = close + 1 + std::size_t(count);
        for (const char c : value)
            m_line += c == '\n';
        return value;
    }

    std::string_view m_text;
    std::size_t m_pos;
    long m_line;
};

double Number(const std::map<std::string, std::string>& parameters, const char* name,
              const char* position, long line)
{
    auto found = parameters.find(name);
    if (found == parameters.end())
        found = parameters.find(position);
    if (found == parameters.end() || found->second.empty())
        return -1.0;
    double value = 0;
    if (!ListText::ParseNumber(found->second, value) || value < 0)
        throw ListFormatError::AtLine(line, "\"" + found->second + "\" is not a time in seconds");
    return value;
}

std::string Text(const std::map<std::string, std::string>& parameters, const char* name,
                 const char* position = "")
{
    auto found = parameters.find(name);
    if (found == parameters.end())
        found = parameters.find(position);
    return found == parameters.end() ? std::string() : found->second;
}

ListClip SegmentClip(const std::map<std::string, std::string>& parameters, long line)
{
    ListClip clip;
    clip.file = Text(parameters, "file", "0");
    clip.title = Text(parameters, "title");
    clip.start = Number(parameters, "start", "1", line);
    const double length = Number(parameters, "length", "2", line);
    if (length >= 0)
        clip.end = std::max(clip.start, 0.0) + length;
    return clip;
}
} // namespace

bool MpvEdlFormat::Claims(std::string_view text) const
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text.starts_with(Header);
}

std::string MpvEdlFormat::Quote(const std::string& value)
{
    if (value.find_first_of(",;!\n\r=%") == std::string::npos && !value.starts_with('#'))
        return value;
    return "%" + std::to_string(value.size()) + "%" + value;
}

std::string MpvEdlFormat::Write(const std::vector<ListClip>& clips, ExportContext&) const
{
    std::string text = std::string(Header) + "\n";
    for (const ListClip& clip : clips) {
        text += Quote(clip.file);
        const bool hasLength = clip.end >= 0 && clip.end >= std::max(clip.start, 0.0);
        const double length = clip.end - std::max(clip.start, 0.0);
        if (clip.start >= 0)
            text += "," + ListText::Seconds(clip.start);
        if (hasLength)
            text += (clip.start >= 0 ? "," : ",length=") + ListText::Seconds(length);
        if (!clip.title.empty())
            text += ",title=" + Quote(clip.title);
        text += '\n';
    }
    return text;
}

void MpvEdlFormat::Read(std::string_view text, ImportContext& context) const
{
    if (!Claims(text))
        throw ListFormatError::AtLine(1, "the first line is not \"" + std::string(Header) + "\"");
    std::size_t pos = text.find('\n');
    long line = 2;
    bool firstStream = true;
    while (pos != std::string_view::npos && ++pos < text.size()) {
        const char first = text[pos];
        if (first == '\n' || first == ';' || first == '\r') {
            line += first == '\n';
            continue;
        }
        if (first == '#') {
            pos = text.find('\n', pos);
            ++line;
            continue;
        }
        SegmentParser parser(text, pos + (first == '!'), line);
        const auto parameters = parser.Parameters();
        if (first == '!' && Text(parameters, "0") == "new_stream") {
            // Later segments play beside the first stream, not after it.
            context.notes.Add(FormatNotes::ParallelStreamsLeftOut);
            firstStream = false;
        } else if (first != '!' && firstStream) {
            ListClip clip = SegmentClip(parameters, line);
            if (clip.file.empty())
                context.notes.Add(FormatNotes::NoMovieLeftOut);
            else
                context.Add(std::move(clip));
        }
        pos = parser.Position();
        line = parser.Line();
        if (pos < text.size() && text[pos] == '\n')
            ++line;
        else if (pos < text.size() && text[pos] != ';')
            throw ListFormatError::AtLine(line, "a value is followed by more text");
    }
}

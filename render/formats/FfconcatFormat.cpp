#include "render/formats/FfconcatFormat.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListText.h"

#include <optional>

namespace
{
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// What the demuxer knows; the ones that do not bear on the clips are passed over.
bool KnownDirective(const std::string& word)
{
    for (const char* known :
         {"ffconcat", "duration", "file_packet_meta", "file_packet_metadata", "option", "stream",
          "exact_stream_id", "stream_meta", "stream_codec", "stream_extradata", "chapter"})
        if (word == known)
            return true;
    return false;
}

double Time(std::string_view& line, long number)
{
    const std::string word = FfconcatFormat::Token(line);
    double seconds = 0;
    if (!FfconcatFormat::ParseDuration(word, seconds) || seconds < 0)
        throw ListFormatError::AtLine(number, "\"" + word + "\" is not a time");
    return seconds;
}
} // namespace

bool FfconcatFormat::Claims(std::string_view text) const
{
    // Lists without the header are known by their first directive.
    std::string first;
    ListText::ForEachLine(text.substr(0, 4096), [&first](long, std::string_view line) {
        line = ListText::Trim(line);
        if (first.empty() && !line.empty() && line[0] != '#')
            first = Token(line);
    });
    return first == "ffconcat" || first == "file";
}

std::string FfconcatFormat::Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FfconcatFormat::Token(std::string_view& line)
{
    while (!line.empty() && IsSpace(line.front()))
        line.remove_prefix(1);
    std::string token;
    while (!line.empty() && !IsSpace(line.front())) {
        const char c = line.front();
        line.remove_prefix(1);
        if (c == '\\' && !line.empty()) {
            token += line.front();
            line.remove_prefix(1);
        } else if (c == '\'') {
            const std::size_t close = line.find('\'');
            token += line.substr(0, close);
            line.remove_prefix(close == std::string_view::npos ? line.size() : close + 1);
        } else {
            token += c;
        }
    }
    return token;
}

bool FfconcatFormat::ParseDuration(std::string_view text, double& seconds)
{
    double scale = 1.0;
    if (text.ends_with("ms"))
        scale = 1e-3, text.remove_suffix(2);
    else if (text.ends_with("us"))
        scale = 1e-6, text.remove_suffix(2);
    else if (text.ends_with('s'))
        text.remove_suffix(1);
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    double total = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t colon = text.find(':');
        double value = 0;
        const std::string_view field = text.substr(0, colon);
        const bool last = colon == std::string_view::npos;
        if (!ListText::ParseNumber(field, value) || (!last && field.find('.') != field.npos) ||
            (part > 0 && scale != 1.0))
            return false;
        total = total * 60 + value;
        if (last) {
            seconds = (negative ? -total : total) * scale;
            return true;
        }
        text.remove_prefix(colon + 1);
    }
    return false;
}

std::string FfconcatFormat::Write(const std::vector<ListClip>& clips, ExportContext&) const
{
    std::string text = "ffconcat version 1.0\n";
    for (const ListClip& clip : clips) {
        text += "file " + Quote(clip.file) + "\n";
        if (clip.start >= 0)
            text += "inpoint " + ListText::Seconds(clip.start) + "\n";
        if (clip.end >= 0)
            text += "outpoint " + ListText::Seconds(clip.end) + "\n";
    }
    return text;
}

void FfconcatFormat::Read(std::string_view text, ImportContext& context) const
{
    std::optional<ListClip> clip;
    const auto flush = [&] {
        if (clip)
            context.Add(std::move(*clip));
        clip.reset();
    };
    ListText::ForEachLine(text, [&](long number, std::string_view line) {
        line = ListText::Trim(line);
        if (line.empty() || line[0] == '#')
            return;
        const std::string directive = Token(line);
        if (directive == "file") {
            flush();
            clip.emplace();
            clip->file = Token(line);
        } else if (directive == "inpoint" || directive == "outpoint") {
            if (!clip)
                throw ListFormatError::AtLine(number, "\"" + directive +
                                                          "\" comes before any "
                                                          "\"file\"");
            (directive == "inpoint" ? clip->start : clip->end) = Time(line, number);
        } else if (!KnownDirective(directive)) {
            throw ListFormatError::AtLine(number, "\"" + directive.substr(0, 40) +
                                                      "\" is no directive of a concat list");
        }
    });
    flush();
}

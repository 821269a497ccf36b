#include "util/AsxReader.h"

#include "platform/files/RegularFile.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>

namespace
{

std::string Upper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return char(std::toupper(ch)); });
    return upper;
}

bool IsSpace(char ch)
{
    return std::isspace(static_cast<unsigned char>(ch)) != 0;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The character a reference such as "#65" or "#x42" names (without "&" and ";"), if any.
std::optional<char32_t> NumericReference(std::string_view name)
{
    if (name.size() < 2 || name[0] != '#')
        return std::nullopt;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    unsigned code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        code == 0 || code > 0x10FFFF)
        return std::nullopt;
    return char32_t(code);
}

// Character references; anything else after "&" is kept as written.
std::string Decode(std::string_view text)
{
    static const std::map<std::string_view, char> named{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string decoded;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon != std::string_view::npos && semicolon - i <= 10) {
            const std::string_view name = text.substr(i + 1, semicolon - i - 1);
            if (const auto it = named.find(name); it != named.end()) {
                decoded += it->second;
                i = semicolon + 1;
                continue;
            }
            if (const auto ucs4 = NumericReference(name)) {
                decoded += QString::fromUcs4(&*ucs4, 1).toStdString();
                i = semicolon + 1;
                continue;
            }
        }
        decoded += text[i++];
    }
    return decoded;
}

struct Tag {
    std::string name; // upper case
    bool closing = false;
    bool selfClosing = false;
    std::map<std::string, std::string> attributes; // upper-case names, decoded values
};

// Reads the tag whose "<" is at text[0] up to its ">" (text excludes both).
Tag ParseTag(std::string_view text)
{
    Tag tag;
    if (!text.empty() && text.front() == '/') {
        tag.closing = true;
        text.remove_prefix(1);
    }
    if (!text.empty() && text.back() == '/') {
        tag.selfClosing = true;
        text.remove_suffix(1);
    }
    std::size_t i = 0;
    const auto word = [&] {
        const std::size_t begin = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '=')
            ++i;
        return text.substr(begin, i - begin);
    };
    const auto skipSpace = [&] {
        while (i < text.size() && IsSpace(text[i]))
            ++i;
    };
    tag.name = Upper(word());
    while (true) {
        skipSpace();
        if (i >= text.size())
            return tag;
        const std::string name = Upper(word());
        skipSpace();
        std::string_view value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            skipSpace();
            const char quote = i < text.size() && (text[i] == '"' || text[i] == '\'') ? text[i] : 0;
            const std::size_t begin = quote ? ++i : i;
            while (i < text.size() && (quote ? text[i] != quote : !IsSpace(text[i])))
                ++i;
            value = text.substr(begin, i - begin);
            if (quote && i < text.size())
                ++i;
        }
        if (!name.empty())
            tag.attributes.emplace(name, Decode(value));
    }
}

// The ">" that ends the tag whose "<" is at text[open]. One inside a quoted attribute value does
// not; a value that meets a "<" (which no value may hold) before its closing quote was never
// closed, and the first ">" after its opening quote ends the tag.
std::size_t TagEnd(std::string_view text, std::size_t open)
{
    char last = 0;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '>')
            return i;
        if ((ch == '"' || ch == '\'') && last == '=') {
            const std::size_t close = text.find_first_of(std::string{ch, '<'}, i + 1);
            if (close == std::string_view::npos || text[close] == '<')
                return text.find('>', i + 1);
            i = close;
        }
        if (!IsSpace(ch))
            last = ch;
    }
    return std::string_view::npos;
}

// The state of one pass over the document.
class AsxParser
{
public:
    explicit AsxParser(AsxPlaylist& playlist) : m_playlist(playlist) {}

    bool Parse(std::string_view text)
    {
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t open = text.find('<', i);
            m_text += text.substr(i, open == std::string_view::npos ? open : open - i);
            if (open == std::string_view::npos)
                break;
            if (text.substr(open, 4) == "<!--") {
                const std::size_t close = text.find("-->", open + 4);
                i = close == std::string_view::npos ? text.size() : close + 3;
                continue;
            }
            const std::size_t close = TagEnd(text, open);
            if (close == std::string_view::npos)
                break;
            const std::string_view inside = text.substr(open + 1, close - open - 1);
            if (!inside.empty() && inside.front() != '?' && inside.front() != '!')
                Handle(ParseTag(Trim(inside)));
            i = close + 1;
        }
        if (m_entry)
            m_playlist.entries.push_back(std::move(*m_entry));
        if (const qsizetype unsaid = qsizetype(m_said.size()) - MaxNotices; unsaid > 0)
            m_playlist.notices.append(
                QObject::tr("%1 more elements of this playlist are not played.").arg(unsaid));
        return m_sawAsx;
    }

private:
    void Handle(const Tag& tag)
    {
        if (tag.name == "ASX" && !tag.closing) {
            m_sawAsx = true;
        } else if (!m_sawAsx) {
            return;
        } else if (tag.name == "ENTRY") {
            if (m_entry)
                m_playlist.entries.push_back(std::move(*m_entry));
            m_entry.reset();
            m_inRef = false;
            if (!tag.closing && !tag.selfClosing)
                m_entry.emplace();
        } else if (tag.name == "TITLE") {
            if (!tag.closing)
                m_text.clear();
            else
                (m_entry ? m_entry->title : m_playlist.title) = Decode(Trim(m_text));
        } else if (!tag.closing) {
            HandleOpening(tag);
        } else if (tag.name == "REF") {
            m_inRef = false;
        }
    }

    void HandleOpening(const Tag& tag)
    {
        const auto attribute = [&](const char* name) {
            const auto it = tag.attributes.find(name);
            return it == tag.attributes.end() ? std::string() : it->second;
        };
        if (tag.name == "ENTRYREF" || tag.name == "REPEAT" || tag.name == "BASE") {
            Unsupported(tag.name, attribute("HREF"));
        } else if (!m_entry) {
            return;
        } else if (tag.name == "REF") {
            const std::string href(Trim(attribute("HREF")));
            if (href.empty())
                return;
            m_entry->refs.push_back({href});
            m_inRef = !tag.selfClosing;
        } else if (tag.name == "STARTTIME" || tag.name == "DURATION") {
            const bool start = tag.name == "STARTTIME";
            AsxRef* ref = m_inRef ? &m_entry->refs.back() : nullptr;
            double& time = ref ? (start ? ref->start : ref->duration)
                               : (start ? m_entry->start : m_entry->duration);
            // The first valid time holds; a later one, valid or not, is a slip of the writer.
            if (time < 0)
                time = AsxReader::ParseTime(attribute("VALUE"));
        }
    }

    void Unsupported(const std::string& element, const std::string& href)
    {
        QString notice;
        if (element == "ENTRYREF")
            notice = QObject::tr("The playlist %1 named by an ENTRYREF is not played: playlists "
                                 "inside a playlist are not followed.")
                         .arg(QString::fromStdString(href));
        else if (element == "REPEAT")
            notice = QObject::tr("REPEAT is not supported: its entries are played once.");
        else
            notice = QObject::tr("BASE is not supported: relative references are taken from the "
                                 "playlist's folder.");
        // Each is said once, and a hostile playlist cannot bury the show under them.
        if (m_said.insert(notice).second && m_playlist.notices.size() < MaxNotices)
            m_playlist.notices.append(notice);
    }

    static constexpr qsizetype MaxNotices = 20;

    AsxPlaylist& m_playlist;
    std::optional<AsxEntry> m_entry;
    std::string m_text;
    bool m_sawAsx = false;
    bool m_inRef = false; // inside a REF that is not yet closed
    std::set<QString> m_said;
};

bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)) != 0; });
}

// A run of at most maxDigits decimal digits, no sign.
std::optional<long long> Digits(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits || !AllDigits(text))
        return std::nullopt;
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The zero bytes of a first character in UTF-16 or UTF-32 that needs only one byte.
std::optional<QStringConverter::Encoding> UnmarkedEncoding(std::string_view text)
{
    std::string pattern;
    for (std::size_t i = 0; i < std::min<std::size_t>(text.size(), 4); ++i)
        pattern += text[i] == '\0' ? '0' : 'x';
    if (pattern == "x000")
        return QStringConverter::Utf32LE;
    if (pattern == "000x")
        return QStringConverter::Utf32BE;
    if (pattern.substr(0, 2) == "x0")
        return QStringConverter::Utf16LE;
    if (pattern.substr(0, 2) == "0x")
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// Playlists saved by editors on other systems come in UTF-16 or UTF-32, with a byte order mark
// or without one. Without, the first character tells: it is "<" or a blank, and where its zero
// bytes lie gives the encoding.
std::string ToUtf8(std::string_view text)
{
    using namespace std::string_view_literals;
    using Encoding = QStringConverter::Encoding;
    static const std::pair<std::string_view, Encoding> marks[] = {
        {"\xFF\xFE\0\0"sv, Encoding::Utf32LE},
        {"\0\0\xFE\xFF"sv, Encoding::Utf32BE},
        {"\xFF\xFE"sv, Encoding::Utf16LE},
        {"\xFE\xFF"sv, Encoding::Utf16BE},
        {"\xEF\xBB\xBF"sv, Encoding::Utf8}};
    std::optional<Encoding> encoding;
    for (const auto& [mark, markedEncoding] : marks) {
        if (text.substr(0, mark.size()) == mark) {
            encoding = markedEncoding;
            text.remove_prefix(mark.size());
            break;
        }
    }
    if (!encoding)
        encoding = UnmarkedEncoding(text);
    if (!encoding || *encoding == Encoding::Utf8)
        return std::string(text);
    QStringDecoder decoder(*encoding);
    return QString(decoder(QByteArrayView(text.data(), qsizetype(text.size())))).toStdString();
}

// Opens hostPath into file when it is a regular file; else says why not.
QString OpenRegularFile(const QString& hostPath, QFile& file)
{
    QString reason;
    switch (RegularFile::Open(hostPath, file, reason)) {
    case RegularFile::Refusal::None:
        return {};
    case RegularFile::Refusal::Folder:
        return QObject::tr("The playlist %1 is a folder, not a playlist.").arg(hostPath);
    case RegularFile::Refusal::PipeOrDevice:
        return QObject::tr("The playlist %1 is a pipe or device, not a playlist file.")
            .arg(hostPath);
    case RegularFile::Refusal::Unreadable:
        break;
    }
    return QObject::tr("The playlist %1 cannot be read: %2.").arg(hostPath, reason);
}

} // namespace

double AsxReader::ParseTime(std::string_view text)
{
    text = Trim(text);
    std::string_view fraction;
    if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
        fraction = text.substr(dot + 1);
        text = text.substr(0, dot);
    }
    const auto colons = std::count(text.begin(), text.end(), ':');
    if (colons > 2)
        return -1.0;
    double seconds = 0;
    for (auto part = colons; part >= 0; --part) {
        const std::size_t colon = text.find(':');
        const std::string_view digits = text.substr(0, colon);
        // Hours may have any number of digits; a time beyond what a double holds is none.
        std::optional<double> value;
        if (part == 2 && !digits.empty() && AllDigits(digits))
            value = std::strtod(std::string(digits).c_str(), nullptr);
        else if (const auto number = part < 2 ? Digits(digits, 9) : std::nullopt)
            value = double(*number);
        if (!value || !std::isfinite(seconds * 60 + *value))
            return -1.0;
        seconds = seconds * 60 + *value;
        text.remove_prefix(colon == std::string_view::npos ? text.size() : colon + 1);
    }
    // Milliseconds are all a show is cut to: further digits are dropped, not rounded.
    long long milliseconds = 0;
    if (!fraction.empty()) {
        if (!AllDigits(fraction))
            return -1.0;
        milliseconds = *Digits((std::string(fraction) + "00").substr(0, 3), 3);
    }
    return (seconds * 1000 + double(milliseconds)) / 1000.0;
}

bool AsxReader::Read(std::string_view text, AsxPlaylist& playlist, QString& error)
{
    playlist = AsxPlaylist();
    const std::string decoded = ToUtf8(text);
    if (!AsxParser(playlist).Parse(decoded)) {
        error = QObject::tr("This is not an ASX playlist: it has no <ASX> element.");
        return false;
    }
    return true;
}

bool AsxReader::ReadFile(const QString& hostPath, AsxPlaylist& playlist, QString& error)
{
    QFile file;
    if (const QString problem = OpenRegularFile(hostPath, file); !problem.isEmpty()) {
        error = problem;
        return false;
    }
    // Never more than a playlist may hold is read, whatever size the file tells.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize) {
        error = QObject::tr("The playlist %1 is too large to be a playlist.").arg(hostPath);
        return false;
    }
    if (!Read(std::string_view(bytes.constData(), std::size_t(bytes.size())), playlist, error)) {
        error = QObject::tr("The playlist %1 cannot be played. %2").arg(hostPath, error);
        return false;
    }
    return true;
}

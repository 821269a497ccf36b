#include "player/AsxReader.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>

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

// Character references; anything else after "&" is kept as written.
std::string Decode(std::string_view text)
{
    static const std::map<std::string_view, char> named{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string decoded;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon != std::string_view::npos && semicolon - i <= 8) {
            const std::string_view name = text.substr(i + 1, semicolon - i - 1);
            if (const auto it = named.find(name); it != named.end()) {
                decoded += it->second;
                i = semicolon + 1;
                continue;
            }
            unsigned code = 0;
            const bool hex =
                name.size() > 1 && name[0] == '#' && (name[1] == 'x' || name[1] == 'X');
            const std::string_view digits =
                name.substr(std::min<std::size_t>(hex ? 2 : 1, name.size()));
            if (!name.empty() && name[0] == '#' && !digits.empty() &&
                std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10)
                        .ptr == digits.data() + digits.size() &&
                code > 0 && code <= 0x10FFFF) {
                const char32_t ucs4 = char32_t(code);
                decoded += QString::fromUcs4(&ucs4, 1).toStdString();
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
            const std::size_t close = text.find('>', open + 1);
            if (close == std::string_view::npos)
                break;
            const std::string_view inside = text.substr(open + 1, close - open - 1);
            if (!inside.empty() && inside.front() != '?' && inside.front() != '!')
                Handle(ParseTag(Trim(inside)));
            i = close + 1;
        }
        if (m_entry)
            m_playlist.entries.push_back(std::move(*m_entry));
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
            if (!tag.closing && !tag.selfClosing)
                m_entry.emplace();
        } else if (tag.name == "TITLE") {
            if (!tag.closing)
                m_text.clear();
            else
                (m_entry ? m_entry->title : m_playlist.title) = Decode(Trim(m_text));
        } else if (m_entry && !tag.closing) {
            HandleEntryElement(tag);
        }
    }

    void HandleEntryElement(const Tag& tag)
    {
        const auto attribute = [&](const char* name) -> std::optional<std::string> {
            const auto it = tag.attributes.find(name);
            return it == tag.attributes.end() ? std::nullopt : std::optional(it->second);
        };
        if (tag.name == "REF") {
            if (const auto href = attribute("HREF"); href && !Trim(*href).empty())
                m_entry->refs.emplace_back(Trim(*href));
        } else if (tag.name == "STARTTIME") {
            m_entry->start = AsxReader::ParseTime(attribute("VALUE").value_or(""));
        } else if (tag.name == "DURATION") {
            m_entry->duration = AsxReader::ParseTime(attribute("VALUE").value_or(""));
        }
    }

    AsxPlaylist& m_playlist;
    std::optional<AsxEntry> m_entry;
    std::string m_text;
    bool m_sawAsx = false;
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

} // namespace

double AsxReader::ParseTime(std::string_view text)
{
    text = Trim(text);
    std::string_view fraction;
    if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
        fraction = text.substr(dot + 1);
        text = text.substr(0, dot);
    }
    long long seconds = 0;
    int parts = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        const auto part = Digits(text.substr(0, colon), 9);
        if (!part || ++parts > 3)
            return -1.0;
        seconds = seconds * 60 + *part;
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    // Milliseconds are all a show is cut to: further digits are dropped, not rounded.
    long long milliseconds = 0;
    if (!fraction.empty()) {
        if (!AllDigits(fraction))
            return -1.0;
        milliseconds = *Digits((std::string(fraction) + "00").substr(0, 3), 3);
    }
    return double(seconds * 1000 + milliseconds) / 1000.0;
}

bool AsxReader::Read(std::string_view text, AsxPlaylist& playlist, QString& error)
{
    playlist = AsxPlaylist();
    if (!AsxParser(playlist).Parse(text)) {
        error = QObject::tr("This is not an ASX playlist: it has no <ASX> element.");
        return false;
    }
    return true;
}

bool AsxReader::ReadFile(const QString& hostPath, AsxPlaylist& playlist, QString& error)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QObject::tr("The playlist %1 cannot be read: %2.").arg(hostPath, file.errorString());
        return false;
    }
    if (file.size() > MaxFileSize) {
        error = QObject::tr("The playlist %1 is too large to be a playlist.").arg(hostPath);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!Read(std::string_view(bytes.constData(), std::size_t(bytes.size())), playlist, error)) {
        error = QObject::tr("The playlist %1 cannot be played. %2").arg(hostPath, error);
        return false;
    }
    return true;
}

#include "render/formats/ListPath.h"

#include <QDir>
#include <cctype>

namespace
{
bool IsAlpha(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Letters, digits and the marks RFC 3986 leaves unescaped, and the path's slashes.
bool KeptInUri(unsigned char c)
{
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}
} // namespace

bool ListPath::IsWindowsPath(std::string_view name)
{
    if (name.size() >= 2 && IsAlpha(name[0]) && name[1] == ':')
        return name.size() == 2 || name[2] == '\\' || name[2] == '/';
    return name.starts_with("\\\\");
}

bool ListPath::IsAddress(std::string_view name)
{
    const std::size_t colon = name.find("://");
    if (colon == std::string_view::npos || colon < 2)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = name[i];
        if (!IsAlpha(c) && !(i > 0 && (std::isdigit(static_cast<unsigned char>(c)) || c == '+' ||
                                       c == '-' || c == '.')))
            return false;
    }
    return true;
}

std::string ListPath::Resolve(const std::string& folder, const std::string& name)
{
    if (name.empty() || name[0] == '/' || IsWindowsPath(name) || IsAddress(name))
        return name;
    return QDir::cleanPath(QString::fromStdString(folder + "/" + name)).toStdString();
}

std::string ListPath::ToFileUri(std::string_view path)
{
    std::string uri = IsWindowsPath(path) ? "file:///" : "file://";
    static const char* kHex = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            uri += '/';
        } else if (KeptInUri(byte) || (byte == ':' && IsWindowsPath(path))) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

std::string ListPath::FromUri(std::string_view uri)
{
    if (uri.size() >= 5 && QByteArray(uri.data(), 5).toLower() == "file:") {
        std::string_view rest = uri.substr(5);
        if (rest.starts_with("//")) {
            rest.remove_prefix(2);
            const std::size_t slash = rest.find('/');
            // The host part: empty or "localhost" for this machine.
            rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash);
        }
        std::string path = PercentDecode(rest);
        if (path.size() >= 3 && path[0] == '/' && IsWindowsPath(std::string_view(path).substr(1)))
            path.erase(0, 1);
        return path;
    }
    return IsAddress(uri) ? std::string(uri) : PercentDecode(uri);
}

std::string ListPath::PercentDecode(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            decoded += char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

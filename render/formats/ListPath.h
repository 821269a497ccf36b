#pragma once
// How lists name movies: host paths, Windows paths of the program that wrote them, addresses,
// names relative to the list, and file:// URIs.
#include <string>
#include <string_view>

class ListPath
{
public:
    ListPath() = delete;

    // "C:\x", "C:/x", "\\server\x": a path of the Windows program that wrote the list.
    static bool IsWindowsPath(std::string_view name);
    // "http://...", "rtsp://...": played from where it is, never looked for on disk.
    static bool IsAddress(std::string_view name);
    // name as it is when it is absolute, a Windows path or an address; else under folder.
    static std::string Resolve(const std::string& folder, const std::string& name);

    // file:///home/ann/My%20Movie.avi; a Windows path as file:///C:/x.
    static std::string ToFileUri(std::string_view path);
    // A file:// URI as a path (file:///C:/x and file://localhost/D%3a/x as C:/x and D:/x);
    // other addresses as they are; anything else percent-decoded, as a relative URI.
    static std::string FromUri(std::string_view uri);
    static std::string PercentDecode(std::string_view text);
};

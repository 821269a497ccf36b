#pragma once
// Reads ASX playlists the way they are found in the wild: in UTF-8, UTF-16 or UTF-32, element
// and attribute names in any case, attribute values quoted either way or not at all, a bare "&"
// taken as itself. Elements a show player has no use for are passed over.
#include "util/AsxPlaylist.h"

#include <QString>
#include <string>
#include <string_view>

class AsxReader
{
public:
    // Files larger than this are not playlists, and are not read into memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // False with a message for the user when the file cannot be read, is no regular file (a
    // folder, pipe or device) or is no ASX playlist.
    static bool ReadFile(const QString& hostPath, AsxPlaylist& playlist, QString& error);
    static bool Read(std::string_view text, AsxPlaylist& playlist, QString& error);

    // An ASX time, "[[hh:]mm:]ss[.fff]" with any number of hour digits, in seconds; negative when
    // text is not one.
    static double ParseTime(std::string_view text);
};

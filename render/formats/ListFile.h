#pragma once
// Lists on disk: a file read into clips by the format that reads it, and clips written as a
// new file that replaces the old one only once it is complete.
#include "render/formats/FormatNotes.h"
#include "render/formats/ListClip.h"

#include <cstdint>
#include <string>
#include <vector>

class ExportContext;
class ListFormat;
class MovieCatalog;

class ListFile
{
public:
    // Larger files are no playlists or edit lists, and are not read into memory.
    static constexpr int64_t MaxFileSize = 128 * 1024 * 1024;

    ListFile() = delete;

    // The clips of the list at hostPath with notes on what was left out (and on movies that are
    // not there); false with a message naming the file and where in it reading stopped.
    static bool Import(const std::string& hostPath, MovieCatalog& movies,
                       std::vector<ListClip>& clips, FormatNotes& notes, std::string& error);
    // Reads hostPath whole; false with a message when it cannot be or is too large.
    static bool ReadWhole(const std::string& hostPath, std::string& bytes, std::string& error);
    static bool Export(const std::vector<ListClip>& clips, const ListFormat& format,
                       const std::string& hostPath, ExportContext& context, std::string& error);
};

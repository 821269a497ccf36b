#pragma once
// Every format a show travels in, and which one reads a given file.
#include <string>
#include <string_view>
#include <vector>

class ListFormat;
class ListReader;

class ListFormats
{
public:
    ListFormats() = delete;

    // The export formats, in the order the export dialog lists them.
    static const std::vector<const ListFormat*>& Exporters();
    // Every format that is read, the export formats first.
    static const std::vector<const ListReader*>& Readers();
    static const ListFormat* ExporterByKey(std::string_view key);
    // The format of a file, by its extension and, where that is shared or unknown, by its
    // text; null with a message for the user when no format reads it.
    static const ListReader* ForFile(const std::string& path, std::string_view text,
                                     std::string& error);
    // "*.edl *.xspf ...": the files import reads.
    static std::string ImportPatterns();
};

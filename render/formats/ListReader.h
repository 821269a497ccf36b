#pragma once
// A playlist or edit list format that shows are imported from.
#include <string_view>

class ImportContext;

class ListReader
{
public:
    virtual ~ListReader() = default;

    // The name on the command line: "mpv-edl".
    virtual const char* Key() const = 0;
    // The name a person reads: "mpv EDL".
    virtual const char* Name() const = 0;
    // Whether the text of a file looks like this format, for extensions that several formats
    // share and for files without a known one.
    virtual bool Claims(std::string_view text) const = 0;
    // Adds the clips of text to context; throws ListFormatError naming the line or element it
    // could not read.
    virtual void Read(std::string_view text, ImportContext& context) const = 0;
};

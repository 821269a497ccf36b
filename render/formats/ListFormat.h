#pragma once
// A playlist or edit list format that shows are exported to as well as imported from.
#include "render/formats/ListClip.h"
#include "render/formats/ListReader.h"

#include <string>
#include <vector>

class ExportContext;

class ListFormat : public ListReader
{
public:
    // The programs that read it, for the export dialog.
    virtual const char* ReadBy() const = 0;
    // The extension of exported files, without the dot.
    virtual const char* Extension() const = 0;
    // The whole file for clips.
    virtual std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const = 0;
};

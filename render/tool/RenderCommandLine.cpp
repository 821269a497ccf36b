#include "render/tool/RenderCommandLine.h"

#include "render/formats/ListFormat.h"
#include "render/formats/ListFormats.h"

namespace
{
std::string FormatKeys()
{
    std::string keys;
    for (const ListFormat* format : ListFormats::Exporters())
        keys += std::string(keys.empty() ? "" : ", ") + format->Key();
    return keys;
}
} // namespace

bool RenderCommandLine::Parse(const std::vector<std::string>& arguments, Request& request,
                              std::string& error)
{
    request = Request();
    std::vector<std::string> files;
    bool formatGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h")
            return true;
        if (argument == "--format" || argument.starts_with("--format=")) {
            if (argument == "--format" && i + 1 == arguments.size()) {
                error = "--format needs a format: " + FormatKeys() + ".";
                return false;
            }
            request.format = argument == "--format" ? arguments[++i] : argument.substr(9);
            formatGiven = true;
        } else if (argument.starts_with("-") && argument != "-") {
            error = "Unknown option " + argument + ".";
            return false;
        } else {
            files.push_back(argument);
        }
    }
    if (!formatGiven) {
        error = "Say which format to write with --format (" + FormatKeys() + ").";
        return false;
    }
    if (!ListFormats::ExporterByKey(request.format)) {
        error =
            "There is no format \"" + request.format + "\"; the formats are " + FormatKeys() + ".";
        return false;
    }
    if (files.size() != 2) {
        error = "Give the show to export and the file to write, and nothing else.";
        return false;
    }
    request.action = Action::ExportList;
    request.show = files[0];
    request.out = files[1];
    return true;
}

std::string RenderCommandLine::Usage()
{
    return "Usage: reelmix-render --format FORMAT SHOW OUT\n"
           "Writes the show SHOW (a .rlx show, or a playlist or edit list Reelmix imports) as\n"
           "the list OUT that another program reads. FORMAT is one of " +
           FormatKeys() +
           ".\n"
           "What a format cannot hold is said on standard error.\n";
}

#include "render/tool/RenderCommandLine.h"

#include "render/formats/ListFormat.h"
#include "render/formats/ListFormats.h"
#include "render/movie/MovieWriter.h"

#include <QSize>
#include <regex>

namespace
{
std::string FormatKeys()
{
    std::string keys;
    for (const ListFormat* format : ListFormats::Exporters())
        keys += std::string(keys.empty() ? "" : ", ") + format->Key();
    return keys;
}

// The value of "--name value" or "--name=value"; false when argument is not that option.
bool OptionValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
                 std::string& value, std::string& error)
{
    const std::string& argument = arguments[i];
    if (argument.starts_with(name + "=")) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    if (argument != name)
        return false;
    if (i + 1 == arguments.size())
        error = name + " needs a value.";
    else
        value = arguments[++i];
    return true;
}
} // namespace

bool RenderCommandLine::ParseMovieOption(const std::vector<std::string>& arguments, std::size_t& i,
                                         RenderSettings& movie, std::string& error)
{
    if (arguments[i] == "--no-verify") {
        movie.verify = false;
        return true;
    }
    std::string value;
    if (OptionValue(arguments, i, "--mode", value, error)) {
        if (value != "smart" && value != "exact")
            error = "--mode is smart or exact.";
        movie.mode = value == "exact" ? RenderSettings::Mode::Exact : RenderSettings::Mode::Smart;
    } else if (OptionValue(arguments, i, "--preset", value, error)) {
        movie.preset = QString::fromStdString(value);
    } else if (OptionValue(arguments, i, "--quality", value, error)) {
        static const std::regex number(R"(\d{1,2})");
        movie.quality = std::regex_match(value, number) ? std::stoi(value) : -1;
        if (movie.quality < 0 || movie.quality > 51)
            error = "--quality is a number from 0 (best) to 51.";
    } else if (OptionValue(arguments, i, "--size", value, error)) {
        static const std::regex size(R"((\d{1,5})x(\d{1,5}))");
        std::smatch match;
        if (std::regex_match(value, match, size))
            movie.size = QSize(std::stoi(match[1]), std::stoi(match[2]));
        if (movie.size.width() < 2 || movie.size.height() < 2)
            error = "--size is WIDTHxHEIGHT, such as 1280x720.";
    } else {
        return false;
    }
    return true;
}

bool RenderCommandLine::CheckFiles(const std::vector<std::string>& files, bool movie,
                                   std::string& error)
{
    if (files.size() != 2)
        error = movie ? "Give the show to render and the movie to write, and nothing else."
                      : "Give the show to export and the file to write, and nothing else.";
    else if (movie && !MovieWriter::KnownExtension(QString::fromStdString(files[1])))
        error = "The movie's name ends in .mp4, .mkv or .mov (lists are written with "
                "--format).";
    return error.empty();
}

bool RenderCommandLine::Parse(const std::vector<std::string>& arguments, Request& request,
                              std::string& error)
{
    request = Request();
    std::vector<std::string> files;
    bool formatGiven = false;
    bool movieOptions = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h")
            return true;
        if (OptionValue(arguments, i, "--format", request.format, error)) {
            if (!error.empty()) {
                error = "--format needs a format: " + FormatKeys() + ".";
                return false;
            }
            formatGiven = true;
        } else if (ParseMovieOption(arguments, i, request.movie, error)) {
            movieOptions = true;
            if (!error.empty())
                return false;
        } else if (argument.starts_with("-") && argument != "-") {
            error = "Unknown option " + argument + ".";
            return false;
        } else {
            files.push_back(argument);
        }
    }
    if (formatGiven && movieOptions) {
        error = "The movie's options do not go with --format.";
        return false;
    }
    if (formatGiven && !ListFormats::ExporterByKey(request.format)) {
        error =
            "There is no format \"" + request.format + "\"; the formats are " + FormatKeys() + ".";
        return false;
    }
    if (!CheckFiles(files, !formatGiven, error))
        return false;
    request.action = formatGiven ? Action::ExportList : Action::RenderMovie;
    request.show = files[0];
    request.out = files[1];
    request.movie.target = QString::fromStdString(request.out);
    return true;
}

std::string RenderCommandLine::Usage()
{
    return "Usage: reelmix-render [OPTIONS] SHOW OUT\n"
           "       reelmix-render --format FORMAT SHOW OUT\n"
           "SHOW is a .rlx show, or a playlist or edit list Reelmix imports.\n"
           "The first form renders the show into the movie OUT (.mp4, .mkv or .mov), every clip\n"
           "frame-exact; Ctrl+C stops it and leaves nothing behind. OPTIONS:\n"
           "  --mode smart|exact  smart (the default) copies whole groups of H.264 or HEVC\n"
           "                      pictures where they join the movie; exact encodes every\n"
           "                      picture with libx264 (libx265 to continue HEVC)\n"
           "  --preset NAME       the encoder's speed, ultrafast to veryslow (medium)\n"
           "  --quality CRF       the encoder's constant rate factor, 0 (best) to 51 (16)\n"
           "  --size WxH          the movie's picture size (the first clip's)\n"
           "  --no-verify         skip the check of the movie against its clips\n"
           "The second form writes the show as the list OUT that another program reads.\n"
           "FORMAT is one of " +
           FormatKeys() + ". What a format cannot hold is said on standard error.\n";
}

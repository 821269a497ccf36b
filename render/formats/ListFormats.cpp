#include "render/formats/ListFormats.h"

#include "render/formats/AsxListReader.h"
#include "render/formats/Cmx3600Format.h"
#include "render/formats/FfconcatFormat.h"
#include "render/formats/ListText.h"
#include "render/formats/M3uFormat.h"
#include "render/formats/MltFormat.h"
#include "render/formats/MpvEdlFormat.h"
#include "render/formats/OtioFormat.h"
#include "render/formats/XspfFormat.h"

#include <QFileInfo>
#include <sstream>

namespace
{
const MpvEdlFormat kMpvEdl;
const XspfFormat kXspf;
const M3uFormat kM3u;
const FfconcatFormat kFfconcat;
const Cmx3600Format kCmx3600;
const OtioFormat kOtio;
const MltFormat kMlt;
const AsxListReader kAsx;

struct Extension {
    const char* extension;
    std::vector<const ListReader*> readers;
};

// ".edl" is mpv's and CMX's (and the older MPlayer's, which names no movie).
const std::vector<Extension>& Extensions()
{
    static const std::vector<Extension> extensions = {
        {"edl", {&kMpvEdl, &kCmx3600}},
        {"xspf", {&kXspf}},
        {"m3u", {&kM3u}},
        {"m3u8", {&kM3u}},
        {"ffconcat", {&kFfconcat}},
        {"txt", {&kFfconcat}},
        {"otio", {&kOtio}},
        {"mlt", {&kMlt}},
        {"kdenlive", {&kMlt}},
        {"asx", {&kAsx}},
        {"wax", {&kAsx}},
        {"wvx", {&kAsx}},
    };
    return extensions;
}

// MPlayer's cut lists are lines of "start end action" numbers.
bool IsMplayerCutList(std::string_view text)
{
    bool numbers = false;
    ListText::ForEachLine(text.substr(0, 4096), [&numbers](long number, std::string_view line) {
        if (number > 1 || ListText::Trim(line).empty())
            return;
        std::istringstream words{std::string(line)};
        int count = 0;
        for (std::string word; words >> word; ++count) {
            double value = 0;
            if (!ListText::ParseNumber(word, value))
                return;
        }
        numbers = count == 2 || count == 3;
    });
    return numbers;
}

const ListReader* Claimant(const std::vector<const ListReader*>& readers, std::string_view text)
{
    for (const ListReader* reader : readers)
        if (reader->Claims(text))
            return reader;
    return nullptr;
}
} // namespace

const std::vector<const ListFormat*>& ListFormats::Exporters()
{
    static const std::vector<const ListFormat*> formats = {&kMpvEdl,  &kXspf, &kM3u, &kFfconcat,
                                                           &kCmx3600, &kOtio, &kMlt};
    return formats;
}

const std::vector<const ListReader*>& ListFormats::Readers()
{
    static const std::vector<const ListReader*> readers = [] {
        std::vector<const ListReader*> all(Exporters().begin(), Exporters().end());
        all.push_back(&kAsx);
        return all;
    }();
    return readers;
}

const ListFormat* ListFormats::ExporterByKey(std::string_view key)
{
    for (const ListFormat* format : Exporters())
        if (key == format->Key())
            return format;
    return nullptr;
}

const ListReader* ListFormats::ForFile(const std::string& path, std::string_view text,
                                       std::string& error)
{
    const std::string suffix =
        QFileInfo(QString::fromStdString(path)).suffix().toLower().toStdString();
    for (const Extension& extension : Extensions()) {
        if (suffix != extension.extension)
            continue;
        if (extension.readers.size() == 1 && suffix != "txt")
            return extension.readers.front();
        if (const ListReader* reader = Claimant(extension.readers, text))
            return reader;
        break;
    }
    if (const ListReader* reader = Claimant(Readers(), text))
        return reader;
    if (IsMplayerCutList(text))
        error = "It is an MPlayer cut list: its lines say which times to skip or mute, but not "
                "which movie, so it cannot become a show.";
    else
        error = "It is neither a playlist nor an edit list of a format Reelmix reads (" +
                ImportPatterns() + ").";
    return nullptr;
}

std::string ListFormats::ImportPatterns()
{
    std::string patterns;
    for (const Extension& extension : Extensions())
        if (std::string_view(extension.extension) != "txt")
            patterns += std::string(patterns.empty() ? "" : " ") + "*." + extension.extension;
    return patterns;
}

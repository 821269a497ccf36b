#include "render/formats/VlcOptions.h"

#include "render/formats/ListFormatError.h"
#include "render/formats/ListText.h"

namespace
{
double Time(std::string_view value, long line)
{
    double seconds = 0;
    if (!ListText::ParseNumber(ListText::Trim(value), seconds) || seconds < 0)
        throw ListFormatError::AtLine(line,
                                      "\"" + std::string(value) + "\" is not a time in seconds");
    return seconds;
}
} // namespace

void VlcOptions::Take(std::string_view option, long line)
{
    option = ListText::Trim(option);
    // Options may be written with the command line's leading colon.
    if (option.starts_with(':'))
        option.remove_prefix(1);
    if (option.starts_with("start-time="))
        m_start = Time(option.substr(11), line);
    else if (option.starts_with("stop-time="))
        m_stop = Time(option.substr(10), line);
    else if (!option.empty())
        ++m_others;
}

void VlcOptions::ApplyTo(ListClip& clip, FormatNotes& notes)
{
    clip.start = m_start;
    clip.end = m_stop;
    notes.Add(FormatNotes::OptionsLeftOut, m_others);
    *this = VlcOptions();
}

std::string VlcOptions::StartOption(double seconds)
{
    return "start-time=" + ListText::Seconds(seconds);
}

std::string VlcOptions::StopOption(double seconds)
{
    return "stop-time=" + ListText::Seconds(seconds);
}

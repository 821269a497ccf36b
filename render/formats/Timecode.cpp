#include "render/formats/Timecode.h"

#include <cmath>
#include <cstdio>

namespace
{
// Drop-frame timecode skips this many frame numbers at the start of every minute but each
// tenth: 2 at 29.97, 4 at 59.94.
int64_t Dropped(int nominal)
{
    return nominal % 30 == 0 ? nominal / 15 : 0;
}

bool Field(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}
} // namespace

int Timecode::Nominal(double rate)
{
    return std::max(1, int(std::lround(rate)));
}

bool Timecode::IsDropRate(int rateNum, int rateDen)
{
    return rateDen == 1001 && (rateNum == 30000 || rateNum == 60000);
}

bool Timecode::Parse(std::string_view text, int nominal, bool dropFrame, int64_t& frame,
                     bool& semicolons)
{
    int fields[4];
    semicolons = false;
    for (int i = 0; i < 4; ++i) {
        const std::size_t end = i < 3 ? text.find_first_of(":;.") : text.size();
        if (end == std::string_view::npos || !Field(text.substr(0, end), fields[i]))
            return false;
        semicolons = semicolons || (i < 3 && text[end] == ';');
        text.remove_prefix(i < 3 ? end + 1 : end);
    }
    const auto [hours, minutes, seconds, frames] = fields;
    if (minutes > 59 || seconds > 59 || frames > 99)
        return false;
    frame = ((int64_t(hours) * 60 + minutes) * 60 + seconds) * nominal + frames;
    if (dropFrame || semicolons) {
        const int64_t totalMinutes = int64_t(hours) * 60 + minutes;
        frame -= Dropped(nominal) * (totalMinutes - totalMinutes / 10);
    }
    return true;
}

int64_t Timecode::FramesPerHour(int nominal, bool dropFrame)
{
    return int64_t(nominal) * 3600 - (dropFrame ? Dropped(nominal) * 54 : 0);
}

std::string Timecode::Format(int64_t frame, int nominal, bool dropFrame)
{
    frame = std::max<int64_t>(frame, 0);
    if (dropFrame) {
        const int64_t drop = Dropped(nominal);
        const int64_t perMinute = int64_t(nominal) * 60 - drop;
        const int64_t perTenMinutes = int64_t(nominal) * 600 - drop * 9;
        const int64_t tens = frame / perTenMinutes;
        const int64_t rest = frame % perTenMinutes;
        frame += drop * 9 * tens + (rest > drop ? drop * ((rest - drop) / perMinute) : 0);
    }
    // Drop-frame timecode is told by the separator before the frames.
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%02lld",
                  (long long)(frame / (int64_t(nominal) * 3600)),
                  (long long)(frame / (int64_t(nominal) * 60) % 60),
                  (long long)(frame / nominal % 60), dropFrame ? ';' : ':',
                  (long long)(frame % nominal));
    return text;
}

int Timecode::FrameField(std::string_view text)
{
    const std::size_t last = text.find_last_of(":;.");
    int value = 0;
    return last != std::string_view::npos && Field(text.substr(last + 1), value) ? value : 0;
}

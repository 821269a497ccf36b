#pragma once
// SMPTE timecodes ("01:00:04:05", drop-frame "01;00;04;05") and frame numbers, at the whole
// number of frames a timecode second counts (30 for 29.97 frames a second).
#include <cstdint>
#include <string>
#include <string_view>

class Timecode
{
public:
    Timecode() = delete;

    // The frames a timecode second counts at rate: 24 for 23.976, 30 for 29.97.
    static int Nominal(double rate);
    // 29.97 and 59.94 count in drop-frame timecode.
    static bool IsDropRate(int rateNum, int rateDen);

    // False when text is no timecode. Drop-frame counting applies with dropFrame or when the
    // timecode is written with ";" separators, which semicolons then tells.
    static bool Parse(std::string_view text, int nominal, bool dropFrame, int64_t& frame,
                      bool& semicolons);
    static int64_t FramesPerHour(int nominal, bool dropFrame);
    static std::string Format(int64_t frame, int nominal, bool dropFrame);

    // The largest frame field of text (for guessing the rate of a list that states none).
    static int FrameField(std::string_view text);
};

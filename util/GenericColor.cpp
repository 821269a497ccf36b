#include "util/Generic.h"

#include <algorithm>

namespace
{
constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

int ChannelFromHue(int m1, int m2, int hue)
{
    return (Generic::HueToRGB(WORD(m1), WORD(m2), WORD(hue)) * kRgbMax + kHlsMax / 2) / kHlsMax;
}
} // namespace

void Generic::RGBtoHLS(COLORREF colour, WORD& hue, WORD& lightness, WORD& saturation)
{
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int max = std::max({r, g, b}), min = std::min({r, g, b});
    const int l = ((max + min) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    lightness = WORD(l);
    if (max == min) {
        saturation = 0;
        hue = WORD(kUndefinedHue);
        return;
    }
    const int range = max - min;
    if (l <= kHlsMax / 2)
        saturation = WORD((range * kHlsMax + (max + min) / 2) / (max + min));
    else
        saturation =
            WORD((range * kHlsMax + (2 * kRgbMax - max - min) / 2) / (2 * kRgbMax - max - min));
    const auto delta = [&](int x) { return ((max - x) * (kHlsMax / 6) + range / 2) / range; };
    int h = 0;
    if (r == max)
        h = delta(b) - delta(g);
    else if (g == max)
        h = kHlsMax / 3 + delta(r) - delta(b);
    else
        h = 2 * kHlsMax / 3 + delta(g) - delta(r);
    if (h < 0)
        h += kHlsMax;
    if (h > kHlsMax)
        h -= kHlsMax;
    hue = WORD(h);
}

COLORREF Generic::HLStoRGB(WORD hue, WORD lightness, WORD saturation)
{
    const int l = lightness, s = saturation, h = hue;
    if (s == 0) {
        const int grey = l * kRgbMax / kHlsMax;
        return RGB(BYTE(grey), BYTE(grey), BYTE(grey));
    }
    const int m2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                    : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    const int m1 = 2 * l - m2;
    const int red = ChannelFromHue(m1, m2, h + kHlsMax / 3);
    const int green = ChannelFromHue(m1, m2, h);
    const int blue =
        ChannelFromHue(m1, m2, h < kHlsMax / 3 ? h + 2 * kHlsMax / 3 : h - kHlsMax / 3);
    return RGB(BYTE(red), BYTE(green), BYTE(blue));
}

WORD Generic::HueToRGB(WORD m1, WORD m2, WORD hue)
{
    const int low = m1, high = m2;
    int h = hue;
    if (h > kHlsMax)
        h -= kHlsMax;
    if (h < kHlsMax / 6)
        return WORD(low + ((high - low) * h + kHlsMax / 12) / (kHlsMax / 6));
    if (h < kHlsMax / 2)
        return WORD(high);
    if (h < kHlsMax * 2 / 3)
        return WORD(low + ((high - low) * (kHlsMax * 2 / 3 - h) + kHlsMax / 12) / (kHlsMax / 6));
    return WORD(low);
}

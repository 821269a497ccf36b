#include "util/Generic.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Each colour to its hue, lightness and saturation, and those back to a colour.
TEST(GenericColor, RGBtoHLSAndBack)
{
    const struct {
        COLORREF colour;
        WORD hue, lightness, saturation;
        COLORREF back;
    } cases[] = {
        {RGB(255, 0, 0), 0, 120, 240, RGB(255, 0, 0)},
        {RGB(0, 255, 0), 80, 120, 240, RGB(0, 255, 0)},
        {RGB(0, 0, 255), 160, 120, 240, RGB(0, 0, 255)},
        {RGB(255, 255, 255), 160, 240, 0, RGB(255, 255, 255)},
        {RGB(0, 0, 0), 160, 0, 0, RGB(0, 0, 0)},
        {RGB(255, 0, 128), 220, 120, 240, RGB(255, 0, 128)},
        {RGB(255, 255, 0), 40, 120, 240, RGB(255, 255, 0)},
        {RGB(128, 128, 128), 160, 120, 0, RGB(127, 127, 127)},
        {RGB(200, 100, 50), 13, 118, 144, RGB(201, 99, 50)},
        {RGB(10, 20, 200), 158, 99, 217, RGB(10, 19, 201)},
        {RGB(250, 240, 230), 20, 226, 160, RGB(250, 240, 231)},
    };
    for (const auto& c : cases) {
        WORD h = 999, l = 999, s = 999;
        Generic::RGBtoHLS(c.colour, h, l, s);
        EXPECT_EQ(h, c.hue) << std::hex << c.colour;
        EXPECT_EQ(l, c.lightness) << std::hex << c.colour;
        EXPECT_EQ(s, c.saturation) << std::hex << c.colour;
        EXPECT_EQ(Generic::HLStoRGB(c.hue, c.lightness, c.saturation), c.back)
            << std::hex << c.colour;
    }
    // Hue 240 is the same as hue 0; grey ignores the hue.
    EXPECT_EQ(Generic::HLStoRGB(240, 60, 240), RGB(128, 0, 0));
    EXPECT_EQ(Generic::HLStoRGB(0, 240, 0), RGB(255, 255, 255));

    const struct {
        WORD m1, m2, hue, channel;
    } hues[] = {
        {0, 240, 0, 0},     {0, 240, 20, 120},  {0, 240, 39, 234},  {0, 240, 40, 240},
        {0, 240, 119, 240}, {0, 240, 120, 240}, {0, 240, 140, 120}, {0, 240, 160, 0},
        {0, 240, 280, 240}, {30, 90, 10, 45},   {30, 90, 240, 30},
    };
    for (const auto& h : hues)
        EXPECT_EQ(Generic::HueToRGB(h.m1, h.m2, h.hue), h.channel) << h.hue;
}

TEST(GenericColor, RoundTripStaysClose)
{
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 51) {
                WORD h = 0, l = 0, s = 0;
                Generic::RGBtoHLS(RGB(BYTE(r), BYTE(g), BYTE(b)), h, l, s);
                ASSERT_LE(h, 240);
                const COLORREF back = Generic::HLStoRGB(h, l, s);
                EXPECT_LE(std::abs(GetRValue(back) - r), 4) << r << "," << g << "," << b;
                EXPECT_LE(std::abs(GetGValue(back) - g), 4) << r << "," << g << "," << b;
                EXPECT_LE(std::abs(GetBValue(back) - b), 4) << r << "," << g << "," << b;
            }
}

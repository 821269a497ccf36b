#include "platform/SysColor.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

TEST(SysColor, ComesFromTheApplicationPaletteAsBGR)
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    const struct {
        int index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    } roles[] = {
        {COLOR_WINDOW, QPalette::Active, QPalette::Base},
        {COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text},
        {COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
        {COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
        {COLOR_BTNFACE, QPalette::Active, QPalette::Button},
        {COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
        {COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark},
        {COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light},
        {COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow},
        {COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight},
        {COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text},
        {COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase},
        {COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText},
    };
    int n = 0;
    for (const auto& r : roles) {
        palette.setColor(r.group, r.role, QColor(0x10 + n, 0x40 + n, 0x80 + n));
        ++n;
    }
    QApplication::setPalette(palette);
    n = 0;
    for (const auto& r : roles) {
        EXPECT_EQ(GetSysColor(r.index),
                  DWORD(0x80 + n) << 16 | DWORD(0x40 + n) << 8 | DWORD(0x10 + n))
            << r.index;
        ++n;
    }
    EXPECT_EQ(COLOR_WINDOW, 5);
    EXPECT_EQ(COLOR_INFOBK, 24);
    EXPECT_EQ(GetSysColor(1), 0u);
    QApplication::setPalette(saved);
}

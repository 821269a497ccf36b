#include "platform/gdi/SysColor.h"

#include <QApplication>
#include <QPalette>

namespace
{
struct Role {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The 3D edge colours follow the order Qt's styles use for frames: Light, Midlight, Button,
// Dark, Shadow.
constexpr Role kRoles[] = {
    {COLOR_WINDOW, QPalette::Active, QPalette::Base},
    {COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text},
    {COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
    {COLOR_BTNFACE, QPalette::Active, QPalette::Button},
    {COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark},
    {COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text},
    {COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
    {COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light},
    {COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow},
    {COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight},
    {COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText},
    {COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase},
};
} // namespace

DWORD GetSysColor(int index)
{
    for (const Role& entry : kRoles) {
        if (entry.index == index) {
            const QColor colour = QApplication::palette().color(entry.group, entry.role);
            return RGB(BYTE(colour.red()), BYTE(colour.green()), BYTE(colour.blue()));
        }
    }
    return 0;
}

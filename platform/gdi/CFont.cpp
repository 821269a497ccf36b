#include "platform/gdi/CFont.h"

#include "platform/core/MulDiv.h"
#include "platform/gdi/CDC.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
int ScreenPixelsPerInch()
{
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? int(screen->logicalDotsPerInchY()) : 96;
}

QFont MakeQFont(const LOGFONT& lf)
{
    QFont font;
    if (lf.lfFaceName[0])
        font.setFamily(QString::fromUtf8(lf.lfFaceName));
    if (lf.lfHeight != 0)
        font.setPixelSize(std::abs(int(lf.lfHeight)));
    if (lf.lfWeight > 0)
        font.setWeight(QFont::Weight(std::clamp(int(lf.lfWeight), 1, 1000)));
    font.setItalic(lf.lfItalic);
    font.setUnderline(lf.lfUnderline);
    font.setStrikeOut(lf.lfStrikeOut);
    return font;
}
} // namespace

BOOL CFont::CreateFontIndirect(const LOGFONT* description)
{
    if (!description || IsCreated())
        return FALSE;
    m_description = *description;
    m_description.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_font = MakeQFont(m_description);
    MarkCreated();
    return TRUE;
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc)
{
    const int perInch = dc ? dc->GetDeviceCaps(LOGPIXELSY) : ScreenPixelsPerInch();
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(pointSize, perInch, 720);
    lf.lfWeight = FW_NORMAL;
    std::strncpy(lf.lfFaceName, faceName ? faceName : "", LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* description) const
{
    if (!IsCreated() || !description)
        return 0;
    *description = m_description;
    return int(sizeof(LOGFONT));
}

LOGFONT CFont::DescriptionOf(const QFont& font)
{
    LOGFONT lf{};
    const int tenths = int(std::lround(font.pointSizeF() * 10));
    lf.lfHeight =
        -(font.pixelSize() > 0 ? font.pixelSize() : MulDiv(tenths, ScreenPixelsPerInch(), 720));
    lf.lfWeight = font.bold() ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic();
    lf.lfUnderline = font.underline();
    std::strncpy(lf.lfFaceName, font.family().toUtf8().constData(), LF_FACESIZE - 1);
    return lf;
}

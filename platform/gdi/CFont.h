#pragma once
// The framework's font: a LOGFONT description made into a QFont. lfHeight is a height in pixels
// (the system's negative character height; a positive cell height is taken the same way here),
// 0 for the desktop's size; lfWeight 400 is normal, 700 bold.
#include "platform/gdi/CGdiObject.h"

#include <QFont>

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
using LPLOGFONT = LOGFONT*;

class CDC;

class CFont : public CGdiObject
{
public:
    CFont() = default;

    // FALSE when the font already holds one.
    BOOL CreateFontIndirect(const LOGFONT* description);
    // A font of pointSize tenths of a point for dc (the screen when null).
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
    // Copies the description; 0 when the font holds none, else the bytes copied.
    int GetLogFont(LOGFONT* description) const;

    QFont ToQFont() const { return m_font; }
    // The description of a desktop font, at the screen's pixels per inch.
    static LOGFONT DescriptionOf(const QFont& font);

private:
    void Release() override { m_font = QFont(); }

    LOGFONT m_description{};
    QFont m_font;
};

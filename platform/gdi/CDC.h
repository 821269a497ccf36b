#pragma once
// The framework's device context: drawing on a QPainter, measured on the painter's device.
//
// The context keeps the system's drawing state itself (selected pen and brush, text and
// background colours and mode, current position) and draws with the system's pixel rules:
// rectangles exclude their right and bottom edges, lines exclude their end point, and a focus
// rectangle inverts the pixels it covers, so that drawing it twice removes it.
#include "platform/core/CPoint.h"
#include "platform/core/CRect.h"
#include "platform/core/CString.h"

#include <QColor>
#include <QPen>

class CBrush;
class CFont;
class CGdiObject;
class CPen;
class QIcon;
class QImage;
class QPainter;

class CDC;
using HDC = CDC*;

constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

// DrawFrameControl types and states.
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;

// DrawState kinds and effects.
constexpr UINT DST_TEXT = 0x0001;
constexpr UINT DST_PREFIXTEXT = 0x0002;
constexpr UINT DST_ICON = 0x0003;
constexpr UINT DST_BITMAP = 0x0004;
constexpr UINT DSS_NORMAL = 0x0000;
constexpr UINT DSS_DISABLED = 0x0020;

inline QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}
inline COLORREF ToCOLORREF(const QColor& colour)
{
    return RGB(BYTE(colour.red()), BYTE(colour.green()), BYTE(colour.blue()));
}

class CDC
{
public:
    // Draws with painter, which the caller keeps alive and active for the life of the CDC.
    explicit CDC(QPainter* painter);
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // The handle of a context is the context itself; null stays null.
    static CDC* FromHandle(HDC dc) { return dc; }
    HDC GetSafeHdc() { return this; }

    // LOGPIXELSX, LOGPIXELSY: logical pixels per inch of the device; 0 for other indexes.
    int GetDeviceCaps(int index) const;

    // Each returns the object selected before, for selecting it back.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    // The font text is drawn and measured with; null when the painter's own font was in use.
    CFont* SelectObject(CFont* font);
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);

    // Each returns the previous value.
    COLORREF SetTextColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);
    int SetBkMode(int mode);
    COLORREF GetTextColor() const { return m_textColour; }
    COLORREF GetBkColor() const { return m_bkColour; }
    int GetBkMode() const { return m_bkMode; }

    // Returns the previous position.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    // Draws from the current position up to, but not including, (x, y), which becomes the
    // current position.
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    // Outlines rect with the pen and fills its inside with the brush.
    BOOL Rectangle(LPCRECT rect);
    // Fills rect exactly; colour also becomes the background colour.
    void FillSolidRect(LPCRECT rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    // Fills rect exactly with brush; a null brush fills nothing.
    int FillRect(LPCRECT rect, CBrush* brush);

    // Draws text in rect with the DT_ format; "&" underlines the next character ("&&" shows
    // one) unless DT_NOPREFIX. With DT_CALCRECT nothing is drawn and rect's right and bottom
    // are set to the text's extent. Returns the height of the text.
    int DrawText(const CString& text, LPRECT rect, UINT format);
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
    CSize GetTextExtent(const CString& text) const;
    // Inverts every other pixel of rect's outline.
    void DrawFocusRect(LPCRECT rect);
    // A push button's face and edges (DFC_BUTTON with DFCS_BUTTONPUSH); FALSE for other kinds.
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    // An icon, a bitmap or a text at point, size (0, 0 for the image's or text's own), plain
    // or with DSS_DISABLED embossed in the 3D highlight and shadow colours. The text is
    // prefixed (DST_PREFIXTEXT) when prefixText is TRUE; textLength 0 draws it all.
    BOOL DrawState(CPoint point, CSize size, const QIcon& icon, UINT flags);
    BOOL DrawState(CPoint point, CSize size, const QImage& bitmap, UINT flags);
    BOOL DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText,
                   int textLength = 0);

    QPainter* GetPainter() const { return m_painter; }

private:
    void DrawImageState(CPoint point, const QImage& image, UINT flags);

    QPainter* m_painter;
    CGdiObject* m_pen;
    CGdiObject* m_brush;
    CGdiObject* m_font = nullptr;
    QPen m_qpen;
    QBrush m_qbrush;
    COLORREF m_textColour = RGB(0, 0, 0);
    COLORREF m_bkColour = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    CPoint m_position;
};

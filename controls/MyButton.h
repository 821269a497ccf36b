#pragma once
// A push button that draws itself: a small image beside or instead of its caption, an optional
// coloured tab in the top-left corner, an optional frame that marks the default button, and its
// own pushed, disabled and focus looks.
//
// Image and caption are placed by offsets (image a fixed distance from the left, caption a fixed
// distance after the image) or at explicit positions; either coordinate may be Center.
#include "platform/core/CPoint.h"
#include "platform/windows/CButton.h"

#include <QIcon>

class MyButton : public CButton
{
public:
    static constexpr int Center = -1;
    static constexpr int ColorTabSize = 12;
    static constexpr int FocusOffset = 3;

    MyButton() = default;
    ~MyButton() override = default;

    // Makes the button owner-drawn (even when loading then fails) and shows icon id at cx x cy.
    bool SetIcon(UINT id, int cx, int cy);
    void SetColorTab(COLORREF colour);
    // Makes this the default button of its dialog and draws its frame; false, changing nothing,
    // when the button is not in a dialog. Returns the flag's previous value.
    bool SetDefaultButton(bool isDefault);
    // Each switches to placement by offsets and returns the previous offset.
    int SetImageOffset(int offset);
    int SetTextOffset(int offset);
    // Each switches to explicit positions and returns the previous position.
    CPoint SetImagePos(CPoint pos);
    CPoint SetTextPos(CPoint pos);
    bool HasImage() const;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

private:
    void Redraw();
    void CheckPointForCentering(CPoint& p, int width, int height) const;
    CPoint ImagePosition(const CRect& r, bool hasCaption) const;
    CPoint TextPosition(CSize extent, int& lift) const;
    void DrawColorTab(CDC& dc, const CRect& r, int shift) const;
    void DrawFocus(CDC& dc, const CRect& r) const;

    bool m_useOffsets = true;
    CPoint m_imagePos;
    CPoint m_textPos;
    int m_imageOffset = 6;
    int m_textOffset = 8;
    QIcon m_icon;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    bool m_colorTab = false;
    COLORREF m_colorTabColor = 0;
    bool m_default = false;
    UINT m_lastState = 0;
};

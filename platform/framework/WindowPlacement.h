#pragma once
// A top-level window's placement as the platform's 44-byte record: the show state and the
// restored ("normal") rectangle in workspace coordinates (relative to the primary screen's work
// area), kept while the window is maximised or minimised. The rectangle starts at the outer
// corner of the window's frame and has the size of its client area: the window system tells
// the frame's size only once a window is shown, and a placement applied before that must
// bring the window back at the size it had.
//
// Setting a placement is forgiving with what it gets back from storage: a record whose length
// field is not 44 is refused, and a rectangle that lies off every screen, is inverted or is
// larger than the screen is moved and sized onto the primary screen's work area, so that the
// window always comes up where the user can reach it.
#include "platform/core/CRect.h"

class QWidget;

constexpr UINT WPF_SETMINPOSITION = 0x0001;
constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44);

BOOL GetWindowPlacement(QWidget* window, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(QWidget* window, const WINDOWPLACEMENT* placement);

#pragma once
// A dialog resource as data: the window's caption, size and font, and its controls, all
// measured in dialog units of that font. The program keeps its own templates and registers them
// (ResourceTable).
#include "platform/core/WinTypes.h"

#include <span>

// Window styles.
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000; // a dialog the user can make larger than its template
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD DS_MODALFRAME = 0x0080;

// Extended window styles.
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;

// Button styles.
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;

// Static styles.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_GRAYFRAME = 0x0008; // a rule or box in the frame shadow colour
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_NOTIFY = 0x0100;

// Edit styles.
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_READONLY = 0x0800;

// Up-down control styles.
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;

// List view styles.
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;

// How a control of a resizable dialog (WS_THICKFRAME) follows what the dialog has grown beyond
// its template's size: moved right or down by it, made wider or taller by it. Without any, it
// stays where the template put it.
constexpr DWORD GROW_MOVE_X = 0x1;
constexpr DWORD GROW_MOVE_Y = 0x2;
constexpr DWORD GROW_WIDTH = 0x4;
constexpr DWORD GROW_HEIGHT = 0x8;

// One control: its window class ("Button", "Static", "Edit", "SysListView32", ...), id, initial
// text (for an icon static, the icon's resource id in decimal), rectangle, styles, and how it
// follows a resizable dialog's growth.
struct DialogItem {
    const char* className;
    int id;
    const char* text;
    int x, y, cx, cy;
    DWORD style;
    DWORD growth = 0;
};

struct DialogTemplate {
    UINT id;
    const char* caption; // empty for a child form
    int cx, cy;
    const char* fontFace;
    int fontPoints;
    DWORD style;
    std::span<const DialogItem> items;
};

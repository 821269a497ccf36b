#include "res/DialogTemplates.h"

#include "platform/windows/AfxMessageBox.h"
#include "res/StringIds.h"

#include <algorithm>
#include <iterator>

namespace
{
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = kChild | SS_CENTER | SS_NOPREFIX;

constexpr DialogItem kAboutItems[] = {
    {"Static", -1, "101", 11, 17, 20, 20, kChild | SS_ICON},
    {"Static", -1, "Reelmix Version 1.0", 40, 10, 119, 8, kChild | SS_LEFT | SS_NOPREFIX},
    {"Static", -1, "Copyright (C) 2026 Brantwell", 40, 22, 119, 8, kChild | SS_LEFT},
    {"Static", -1, "All rights reserved.", 40, 34, 119, 8, kChild | SS_LEFT},
    {"Button", IDOK, "OK", 193, 7, 50, 14, kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON},
};

constexpr DialogItem kFormItems[] = {
    {"Button", 1002, "&Insert...", 7, 7, 50, 14, kPush},
    {"Button", 1007, "&Edit...", 64, 7, 50, 14, kPush},
    {"Button", 1003, "&Delete", 121, 7, 50, 14, kPush},
    {"Button", 1004, "&Up", 178, 7, 50, 14, kPush},
    {"Button", 1005, "Dow&n", 235, 7, 50, 14, kPush},
    {"SysListView32", 1000, "", 7, 21, 278, 122,
     kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
         LVS_OWNERDRAWFIXED},
    {"Button", 1001, "&Multi Load...", 295, 36, 98, 32, kPush},
    {"Button", 1011, "&Shuffle Clips", 295, 74, 98, 32, kPush},
    {"Button", 1006, "&Play Show!", 295, 111, 98, 32, kPush},
    {"Static", 1032, "0 Clips in Show", 295, 10, 98, 8, kLabel},
    {"Static", 1033, "Total Duration: > 00:00:00.000", 295, 23, 98, 8, kLabel},
};

constexpr DialogItem kMultiLoadItems[] = {
    {"Button", IDOK, "OK", 129, 7, 50, 14, kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON},
    {"Button", IDCANCEL, "Cancel", 129, 24, 50, 14, kPush},
    {"Button", 1030, "&Search SubDirectories", 7, 10, 87, 10,
     kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
    {"Button", 1031, "&Only Add New Files", 7, 27, 77, 10, kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
};

constexpr DialogItem kExportShowItems[] = {
    {"Static", -1, "Choose the format to write the show in:", 7, 7, 200, 8, kChild | SS_LEFT},
    {"SysListView32", 1040, "", 7, 18, 266, 98,
     kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
    {"Button", IDOK, "&Export...", 169, 122, 50, 14,
     kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON},
    {"Button", IDCANCEL, "Cancel", 223, 122, 50, 14, kPush},
};

// The media player control is hosted by its class id. The editor can be made larger: the
// player takes the room, the buttons on the right keep to the right edge.
constexpr DWORD kUpDown = kChild | WS_TABSTOP | UDS_HORZ | UDS_ARROWKEYS;
constexpr DialogItem kEditClipItems[] = {
    {"Button", 1009, "Mark &Start of Clip", 7, 7, 100, 16, kPush},
    {"Button", 1010, "Mark &End of Clip", 107, 7, 100, 16, kPush},
    {"Static", 1012, "Start Time", 7, 26, 100, 8, kLabel},
    {"Static", 1013, "End Time", 107, 26, 100, 8, kLabel},
    {"Static", -1, "", 7, 39, 197, 1, kChild | SS_GRAYFRAME},
    {"Static", 1015, "Current position: Frame 00000", 235, 46, 56, 20,
     kChild | SS_LEFT | SS_NOPREFIX, GROW_MOVE_X},
    {"msctls_updown32", 1014, "", 61, 46, 91, 20, kUpDown},
    {IDC_MEDIAPLAYER_CLASS, 1008, "", 7, 74, 284, 215, kChild | WS_TABSTOP,
     GROW_WIDTH | GROW_HEIGHT},
    {"Button", IDOK, "OK", 235, 7, 55, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, GROW_MOVE_X},
    {"Button", IDCANCEL, "Cancel", 235, 25, 55, 14, kPush, GROW_MOVE_X},
    {"Static", -1, "", 218, 7, 1, 59, kChild | SS_GRAYFRAME, GROW_MOVE_X},
    {"Button", 1034, "", 7, 46, 50, 20, kPush},
    {"Button", 1035, "", 157, 46, 50, 20, kPush},
};

// Sorted by identifier.
constexpr DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "About Reelmix", 250, 55, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kAboutItems},
    {IDD_REELMIX_FORM, "", 400, 150, "MS Sans Serif", 8, WS_CHILD, kFormItems},
    {IDD_EDIT_CLIP, "Edit Clip", 300, 301, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_THICKFRAME, kEditClipItems},
    {IDD_MULTI_LOAD, "Set Options for Multi-Load", 186, 45, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kMultiLoadItems},
    {IDD_EXPORT_SHOW, "Export Show", 280, 143, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kExportShowItems},
};
} // namespace

const DialogTemplate* FindDialogTemplate(UINT id)
{
    const auto it = std::lower_bound(std::begin(kTemplates), std::end(kTemplates), id,
                                     [](const DialogTemplate& t, UINT key) { return t.id < key; });
    return it != std::end(kTemplates) && it->id == id ? it : nullptr;
}

#pragma once
// A frame's menu, accelerator table and toolbar as resource data. The program keeps its own and
// registers them (FrameResourceTable).
#include "platform/core/VirtualKeys.h"
#include "platform/core/WinTypes.h"

#include <span>

// Menu item flags.
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;

// One menu item: its text ("&" marks the mnemonic, the text after "\t" names the shortcut),
// command id, flags, and the items of a popup.
struct MenuItem {
    const char* text;
    UINT id;
    UINT flags;
    std::span<const MenuItem> popup;
};

// Accelerator flags.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

// One toolbar button: its command and its artwork; a separator has id 0 and no artwork.
struct ToolBarButton {
    UINT id;
    const char* icon;
};

struct ToolBarTemplate {
    int buttonWidth;
    int buttonHeight;
    std::span<const ToolBarButton> buttons;
};

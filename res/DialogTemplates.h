#pragma once
// The program's dialog templates by resource identifier.
#include "platform/windows/DialogTemplate.h"

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDD_REELMIX_FORM = 102;
constexpr UINT IDD_EDIT_CLIP = 108;
constexpr UINT IDD_MULTI_LOAD = 127;
constexpr UINT IDD_EXPORT_SHOW = 130;

// The window class of the media player control in a template: its class id.
constexpr const char* IDC_MEDIAPLAYER_CLASS = "{22D6F312-B0F6-11D0-94AB-0080C74C7E95}";

// The template of id, or null when there is none.
const DialogTemplate* FindDialogTemplate(UINT id);

#pragma once
// The program's dialog templates by resource identifier.
#include "platform/windows/DialogTemplate.h"

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDD_REELMIX_FORM = 102;
constexpr UINT IDD_MULTI_LOAD = 127;

// The template of id, or null when there is none.
const DialogTemplate* FindDialogTemplate(UINT id);

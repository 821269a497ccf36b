#pragma once
// The program's icons by resource identifier, as XPM images (which Qt reads without plugins).
#include "platform/WinTypes.h"

// The XPM lines of icon id, or null when there is none.
const char* const* FindResourceIcon(UINT id);

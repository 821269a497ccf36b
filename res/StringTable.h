#pragma once
// The program's string table: texts by resource identifier.
#include "platform/core/WinTypes.h"

// The text of id, or null when the table has none.
const char* FindResourceString(UINT id);

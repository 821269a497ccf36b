#pragma once
// Identifiers of the string table's texts.
#include "platform/core/WinTypes.h"

constexpr UINT IDR_MAINFRAME = 101;

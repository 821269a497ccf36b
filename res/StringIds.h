#pragma once
// Identifiers of the string table's texts.
#include "platform/core/WinTypes.h"

constexpr UINT IDR_MAINFRAME = 101;
// Commands of the program's own.
constexpr UINT ID_FILE_IMPORT = 32771;
constexpr UINT ID_FILE_EXPORT_SHOW = 32772;

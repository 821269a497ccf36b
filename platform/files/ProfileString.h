#pragma once
// Reading initialisation (INI) files as the Windows kernel does: "[section]" lines and
// "key=value" lines, names compared ignoring case, blanks around names and values trimmed, a
// value wrapped in matching single or double quotes taken without them, ";" lines ignored.
#include "platform/core/WinTypes.h"

// Copies into buffer (size bytes, terminator included) the value of key in section of file, or
// with a null key the section's key names, or with a null section the file's section names
// (each name terminated, the list ended by one more terminator). A missing file, section or key
// delivers defaultText (null: empty; trailing blanks dropped). Returns the characters copied
// without the terminator; a value that does not fit is cut to size - 1 characters and returns
// size - 1; a list that does not fit is cut, ends with two terminators and returns size - 2.
// A file name without a folder is looked up in the current folder.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                               DWORD size, LPCSTR file);

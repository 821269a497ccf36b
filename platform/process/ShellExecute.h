#pragma once
// The shell's "open" verb on a document or a URL: the desktop's opener (xdg-open) is started
// with it, through the program launcher of WinExec. A program path (\home\ann\a.htm) is given
// to the opener in host form.
#include "platform/core/WinTypes.h"

constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;

// Above 32 when the opener was started; SE_ERR_NOASSOC for another verb, for parameters or a
// directory (the desktop's opener takes neither); SE_ERR_FNF for an empty file; else the
// launcher's failure. window and show are hints the desktop does not need.
int ShellExecuteA(void* window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                  int show);

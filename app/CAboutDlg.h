#pragma once
// The about box: the program icon, its version and the maker's copyright, and OK.
#include "platform/windows/CDialog.h"

class CAboutDlg : public CDialog
{
public:
    // Shown over the main window.
    CAboutDlg();
};

#pragma once
// The message boxes of the desktop: installs the AfxMessageBox hook that shows a QMessageBox
// titled with the application's name, with the buttons and icon of the MB_ type, and answers
// with the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
#include "platform/windows/AfxMessageBox.h"

void InstallQtMessageBox();
// The answer of a real box for text and type, shown over the active window.
int QtMessageBox(const CString& text, UINT type);

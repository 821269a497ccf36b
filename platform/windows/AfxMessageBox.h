#pragma once
// Message boxes of the framework. Where one is shown is up to the installed hook: the
// application installs one that shows a real box; tests install one that records the text.
// Without a hook the text goes to standard error and the answer is the box's default.
#include "platform/core/CString.h"
#include "platform/process/MessageBeep.h"

#include <functional>

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

using MessageBoxHook = std::function<int(const CString& text, UINT type)>;

// Shows text with the application title; returns the button chosen (IDOK, IDYES, ...).
int AfxMessageBox(const CString& text, UINT type = MB_OK);
// Installs hook (an empty one restores the default) and returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

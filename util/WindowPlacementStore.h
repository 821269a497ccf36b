#pragma once
// A top-level window's placement kept as the binary value "WindowPlacement" of a key under
// HKEY_CURRENT_USER. Registry failures are silent: a window without a stored placement opens
// where the platform puts it.
#include "platform/core/CString.h"

class QWidget;

class WindowPlacementStore
{
public:
    WindowPlacementStore() = delete;

    // Opens the key without creating it; applies the value when it can be read.
    static void Restore(QWidget* window, const CString& subKey);
    // Creates the key if needed and stores the window's current placement, 44 bytes.
    static void Save(QWidget* window, const CString& subKey);
};

#include "util/WindowPlacementStore.h"

#include "platform/framework/WindowPlacement.h"
#include "util/MyRegistry.h"

void WindowPlacementStore::Restore(QWidget* window, const CString& subKey)
{
    MyRegistry registry(HKEY_CURRENT_USER, subKey, false);
    if (!registry.IsOpen())
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (registry.ReadValueBinary("WindowPlacement", &placement, placement.length))
        SetWindowPlacement(window, &placement);
}

void WindowPlacementStore::Save(QWidget* window, const CString& subKey)
{
    MyRegistry registry(HKEY_CURRENT_USER, subKey, true);
    if (!registry.IsOpen())
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement))
        registry.SaveValueBinary("WindowPlacement", &placement, sizeof placement);
}

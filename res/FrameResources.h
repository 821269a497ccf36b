#pragma once
// The program's menus, accelerator tables and toolbars by resource identifier; each is null
// (or empty) when there is none.
#include "platform/framework/FrameTemplates.h"

std::span<const MenuItem> FindMenu(UINT id);
std::span<const ACCEL> FindAcceleratorTable(UINT id);
const ToolBarTemplate* FindToolBar(UINT id);

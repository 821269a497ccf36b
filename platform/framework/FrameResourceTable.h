#pragma once
// The program's menus, accelerator tables and toolbars as the frame finds them: registered by
// the program at start-up, as the string table is (ResourceTable), and a lookup before that ends
// the program with a message that says so.
#include "platform/framework/FrameTemplates.h"

class FrameResourceTable
{
public:
    struct Tables {
        std::span<const MenuItem> (*findMenu)(UINT id);
        std::span<const ACCEL> (*findAcceleratorTable)(UINT id);
        const ToolBarTemplate* (*findToolBar)(UINT id);
    };

    FrameResourceTable() = delete;

    // Takes the program's tables; null members are not registered.
    static void Register(const Tables& tables);

    // Each is empty (or null) when there is no such resource.
    static std::span<const MenuItem> FindMenu(UINT id);
    static std::span<const ACCEL> FindAcceleratorTable(UINT id);
    static const ToolBarTemplate* FindToolBar(UINT id);
};

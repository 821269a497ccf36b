#include "platform/framework/FrameResourceTable.h"

#include "platform/windows/ResourceTable.h"

namespace
{
// Written at start-up before any other thread runs; only read after that.
FrameResourceTable::Tables g_tables{};
} // namespace

void FrameResourceTable::Register(const Tables& tables)
{
    g_tables = tables;
}

std::span<const MenuItem> FrameResourceTable::FindMenu(UINT id)
{
    return ResourceTable::Registered(g_tables.findMenu, "menu table")(id);
}

std::span<const ACCEL> FrameResourceTable::FindAcceleratorTable(UINT id)
{
    return ResourceTable::Registered(g_tables.findAcceleratorTable, "accelerator table")(id);
}

const ToolBarTemplate* FrameResourceTable::FindToolBar(UINT id)
{
    return ResourceTable::Registered(g_tables.findToolBar, "toolbar table")(id);
}

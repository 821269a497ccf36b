#include "platform/windows/ResourceTable.h"

#include <QtGlobal>

namespace
{
// Written at start-up before any other thread runs; only read after that.
ResourceTable::Tables g_tables{};
} // namespace

void ResourceTable::Register(const Tables& tables)
{
    g_tables = tables;
}

const char* ResourceTable::FindString(UINT id)
{
    return Registered(g_tables.findString, "string table")(id);
}

const DialogTemplate* ResourceTable::FindDialogTemplate(UINT id)
{
    return Registered(g_tables.findDialogTemplate, "dialog template table")(id);
}

QIcon ResourceTable::LoadIcon(UINT id)
{
    return Registered(g_tables.loadIcon, "icon table")(id);
}

void ResourceTable::Unregistered(const char* what)
{
    qFatal("No %s is registered: the program registers its resources at start-up, before it "
           "makes any window",
           what);
}

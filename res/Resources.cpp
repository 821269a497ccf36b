#include "res/Resources.h"

#include "platform/framework/FrameResourceTable.h"
#include "platform/windows/ResourceTable.h"
#include "res/DialogTemplates.h"
#include "res/FrameResources.h"
#include "res/Icons.h"
#include "res/StringTable.h"

void RegisterResources()
{
    ResourceTable::Register({FindResourceString, FindDialogTemplate, LoadResourceIcon});
    FrameResourceTable::Register({FindMenu, FindAcceleratorTable, FindToolBar});
}

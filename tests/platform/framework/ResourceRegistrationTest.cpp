// A window made before the program registered its resources ends the program with a message that
// names the missing table, rather than coming up without its controls, texts or menus.
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameResourceTable.h"
#include "platform/windows/CDialog.h"
#include "platform/windows/ResourceTable.h"

#include <gtest/gtest.h>

TEST(ResourceRegistrationDeathTest, AWindowWithoutItsTableSaysWhichTable)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ResourceTable::Register({});
            CWinApp app;
        },
        "No string table is registered");
    EXPECT_DEATH(
        {
            ResourceTable::Register({});
            CDialog(100).DoModal();
        },
        "No dialog template table is registered");
    EXPECT_DEATH(
        {
            FrameResourceTable::Register({});
            CFrameWnd().LoadFrame(101, nullptr);
        },
        "No menu table is registered");
}

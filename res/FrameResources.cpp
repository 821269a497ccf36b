#include "res/FrameResources.h"

#include "platform/framework/AfxRes.h"
#include "res/StringIds.h"

namespace
{
constexpr MenuItem kFileMenu[] = {
    {"&New\tCtrl+N", ID_FILE_NEW, 0, {}},
    {"&Open...\tCtrl+O", ID_FILE_OPEN, 0, {}},
    {"&Save\tCtrl+S", ID_FILE_SAVE, 0, {}},
    {"Save &As...", ID_FILE_SAVE_AS, 0, {}},
    {"", 0, MF_SEPARATOR, {}},
    {"&Import...", ID_FILE_IMPORT, 0, {}},
    {"&Export Show...", ID_FILE_EXPORT_SHOW, 0, {}},
    {"", 0, MF_SEPARATOR, {}},
    {"Recent File", ID_FILE_MRU_FILE1, MF_GRAYED, {}},
    {"", 0, MF_SEPARATOR, {}},
    {"E&xit", ID_APP_EXIT, 0, {}},
};

constexpr MenuItem kEditMenu[] = {
    {"&Undo\tCtrl+Z", ID_EDIT_UNDO, 0, {}},
    {"&Redo\tCtrl+Shift+Z", ID_EDIT_REDO, 0, {}},
    {"", 0, MF_SEPARATOR, {}},
    {"Cu&t\tCtrl+X", ID_EDIT_CUT, 0, {}},
    {"&Copy\tCtrl+C", ID_EDIT_COPY, 0, {}},
    {"&Paste\tCtrl+V", ID_EDIT_PASTE, 0, {}},
};

constexpr MenuItem kViewMenu[] = {
    {"&Toolbar", ID_VIEW_TOOLBAR, 0, {}},
    {"&Status Bar", ID_VIEW_STATUS_BAR, 0, {}},
};

constexpr MenuItem kHelpMenu[] = {
    {"&About Reelmix...", ID_APP_ABOUT, 0, {}},
};

constexpr MenuItem kMainMenu[] = {
    {"&File", 0, MF_POPUP, kFileMenu},
    {"&Edit", 0, MF_POPUP, kEditMenu},
    {"&View", 0, MF_POPUP, kViewMenu},
    {"&Help", 0, MF_POPUP, kHelpMenu},
};

constexpr ACCEL kMainAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
    {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},
    {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
    {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
    {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
    {FVIRTKEY | FCONTROL | FSHIFT, 'Z', ID_EDIT_REDO},
    {FVIRTKEY | FCONTROL, 'Y', ID_EDIT_REDO},
};

constexpr ToolBarButton kMainButtons[] = {
    {ID_FILE_NEW, ":/icons/tb-new.svg"},     {ID_FILE_OPEN, ":/icons/tb-open.svg"},
    {ID_FILE_SAVE, ":/icons/tb-save.svg"},   {ID_SEPARATOR, nullptr},
    {ID_EDIT_CUT, ":/icons/tb-cut.svg"},     {ID_EDIT_COPY, ":/icons/tb-copy.svg"},
    {ID_EDIT_PASTE, ":/icons/tb-paste.svg"}, {ID_SEPARATOR, nullptr},
    {ID_APP_ABOUT, ":/icons/tb-about.svg"},
};

constexpr ToolBarTemplate kMainToolBar = {16, 15, kMainButtons};
} // namespace

std::span<const MenuItem> FindMenu(UINT id)
{
    return id == IDR_MAINFRAME ? std::span<const MenuItem>(kMainMenu) : std::span<const MenuItem>();
}

std::span<const ACCEL> FindAcceleratorTable(UINT id)
{
    return id == IDR_MAINFRAME ? std::span<const ACCEL>(kMainAccelerators)
                               : std::span<const ACCEL>();
}

const ToolBarTemplate* FindToolBar(UINT id)
{
    return id == IDR_MAINFRAME ? &kMainToolBar : nullptr;
}

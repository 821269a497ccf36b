#include "res/StringTable.h"

#include "platform/framework/AfxRes.h"
#include "res/StringIds.h"

#include <algorithm>
#include <iterator>

namespace
{
struct Entry {
    UINT id;
    const char* text;
};

// Sorted by identifier.
constexpr Entry kStrings[] = {
    {IDR_MAINFRAME,
     "Reelmix\n\nReelmix\nReelmix Files (*.rlx)\n.rlx\nReelmix.Document\nReelmix Document"},
    {ID_FILE_IMPORT, "Make a new show of a playlist or edit list of another program\nImport"},
    {ID_FILE_EXPORT_SHOW,
     "Write the show as a playlist or edit list that other programs read\nExport Show"},
    {AFX_IDS_APP_TITLE, "Reelmix"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_MRU_FILE1 + 0, "Open this document"},
    {ID_FILE_MRU_FILE1 + 1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 2, "Open this document"},
    {ID_FILE_MRU_FILE1 + 3, "Open this document"},
    {ID_FILE_MRU_FILE1 + 4, "Open this document"},
    {ID_FILE_MRU_FILE1 + 5, "Open this document"},
    {ID_FILE_MRU_FILE1 + 6, "Open this document"},
    {ID_FILE_MRU_FILE1 + 7, "Open this document"},
    {ID_FILE_MRU_FILE1 + 8, "Open this document"},
    {ID_FILE_MRU_FILE1 + 9, "Open this document"},
    {ID_FILE_MRU_FILE1 + 10, "Open this document"},
    {ID_FILE_MRU_FILE1 + 11, "Open this document"},
    {ID_FILE_MRU_FILE1 + 12, "Open this document"},
    {ID_FILE_MRU_FILE1 + 13, "Open this document"},
    {ID_FILE_MRU_FILE1 + 14, "Open this document"},
    {ID_FILE_MRU_FILE1 + 15, "Open this document"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {AFX_IDS_UNTITLED, "Untitled"},
    {AFX_IDP_ASK_TO_SAVE, "Save changes to %1?"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));
} // namespace

const char* FindResourceString(UINT id)
{
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                     [](const Entry& e, UINT key) { return e.id < key; });
    return it != std::end(kStrings) && it->id == id ? it->text : nullptr;
}

#pragma once
// The show's only view: the clips as rows of a report list in show order, the show's command
// buttons, and two labels with the number of clips and their total duration.
#include "controls/MyButton.h"
#include "platform/windows/CFormView.h"
#include "show/CReelmixDoc.h"
#include "show/ClipListCtrl.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class CStringList;
class Clip;
class ClipListKeys;
class MovieSearch;

class CReelmixView : public CFormView
{
    // The shuffle moves the rows as Down does, on the view's own state.
    friend class ShowShuffle;
    // Edits note the show and its selection as commands change them.
    friend class ShowEdit;

public:
    // Control ids of the form's template.
    static constexpr int IDC_LIST = 1000;
    static constexpr int IDC_MULTI_LOAD = 1001;
    static constexpr int IDC_INSERT = 1002;
    static constexpr int IDC_DELETE = 1003;
    static constexpr int IDC_UP = 1004;
    static constexpr int IDC_DOWN = 1005;
    static constexpr int IDC_PLAY_SHOW = 1006;
    static constexpr int IDC_EDIT = 1007;
    static constexpr int IDC_SHUFFLE = 1011;
    static constexpr int IDC_CLIP_COUNT = 1032;
    static constexpr int IDC_TOTAL_DURATION = 1033;

    CReelmixView();
    ~CReelmixView() override;

    CReelmixDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;
    // Refreshes the clip count and total duration labels from the rows.
    void UpdateTotals();
    // Writes the rows as the show's playlist and starts the player.
    void OnPlayShow();
    // The rows were sorted by a header click: the show takes their order.
    void OnRowsSorted();
    // Opens the clip editor for the first selected row.
    void OnEdit();
    // A double click or Enter on the list: Edit, when a row is selected.
    void OnDblClick(NMHDR* header, LRESULT* result);

    // Filling the show.
    void OnInsert();
    void OnMultiLoad();
    // "Movie files (*.avi;...;)|*.avi;...;|All Files (*.*)|*.*||".
    CString BuildMovieFilter() const;
    // Appends a clip of the file and a row for it, selected and in view; with onlyNew nothing
    // when the show has the file already (the same name and directory, letter case counting).
    void AddClipFile(const CString& directory, const CString& fileName, bool onlyNew);
    // The movie files of root (and with recurse the folders below) into results, grouped by
    // extension in the application's order. Escape cancels the search, which then finds nothing.
    void SearchTree(const CString& root, CStringList& results, bool recurse);
    // The files of one extension of a finished search into results, with its status text.
    int SearchTreeForExtension(CStringList& results, MovieSearch& search, const CString& directory,
                               int extension);
    // Files dropped on the window: movies are added as Insert adds them, folders searched as
    // Multi Load searches them with the current options. Returns the other files.
    std::vector<CString> AddDroppedFiles(const std::vector<CString>& files);

    // Arranging the show.
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnShuffle();

    // The Edit menu: Undo and Redo of the show's changes, and the selected clip through the
    // clipboard; Paste puts the clipboard's clips after the focused row.
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    void OnUndo();
    void OnRedo();
    void OnCut();
    void OnCopy();
    void OnPaste();

    // Multi Load's options for this run of the program.
    static bool s_searchSubDirs;
    static bool s_onlyAddNew;
    // A shuffle is running; a second click on Shuffle Clips clears it.
    static bool s_shuffling;

    MyButton m_btnShuffle;
    ClipListCtrl m_list;
    MyButton m_btnUp;
    MyButton m_btnPlayShow;
    MyButton m_btnMultiLoad;
    MyButton m_btnInsert;
    MyButton m_btnEdit;
    MyButton m_btnDown;
    MyButton m_btnDelete;
    CString m_clipCountText;
    CString m_totalDurationText;

protected:
    BOOL OnCommand(UINT id) override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnGetDispInfo(NMHDR* header, LRESULT* result);

private:
    // The clip a row carries, or null.
    Clip* RowClip(int row) const;
    Clip* SelectedClip() const;
    // The document replaced a run of clips: the rows follow, and its clip is selected.
    void ReplaceRows(const CReelmixDoc::RowsChange& change);
    const CStringList* MovieExtensions() const;
    void SetStatusText(const CString& text);
    // Searches folder with the remembered options and adds what it finds.
    void LoadFolder(const CString& folder);
    // Up and Down: row a's clip goes to row b, whose clip comes to a.
    void ExchangeRows(int a, int b);
    void EnableCommands(bool enable);
    bool IsKnownClip(const CString& directory, const CString& fileName);
    void SetUpList();
    void MoveControl(int id, int x, int y);
    void ShareColumnWidths();
    void FitLabelHeight(int id);

    // File name and directory of every clip, for Only Add New Files; rebuilt from the rows
    // when a clip has gone since.
    std::unordered_set<std::string> m_clipKeys;
    bool m_clipKeysValid = false;
    // Times the rows were cleared with the document, so that a shuffle ends when its show goes.
    int m_clears = 0;
    // Times the rows took a header's order, so that a shuffle goes on from the new order.
    int m_sorts = 0;
    // The file name column's share of the width it and the directory column have, and the
    // widths last given them from it.
    double m_nameShare = 0.25;
    std::pair<int, int> m_sharedWidths;
    // Edits running (ShowEdit), outermost first.
    int m_edits = 0;
    // Whether the clipboard holds clips or files, asked once per change of the clipboard.
    bool m_canPaste = false;
    std::unique_ptr<ClipListKeys> m_keys;
};

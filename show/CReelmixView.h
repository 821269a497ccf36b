#pragma once
// The show's only view: the clips as rows of a report list in show order, the show's command
// buttons, and two labels with the number of clips and their total duration.
#include "controls/MyButton.h"
#include "platform/windows/CFormView.h"
#include "show/ClipListCtrl.h"

class CReelmixDoc;
class Clip;

class CReelmixView : public CFormView
{
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
    void SetUpList();
    void MoveControl(int id, int x, int y);
    void FitLabelHeight(int id);
};

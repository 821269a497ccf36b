#pragma once
// The library's report list: row, selection and focus helpers, text search, bookmarks, a click
// anywhere on a row, owner drawing with the colours the rows' objects choose, per-cell
// tooltips, drag selection with auto-scroll, sorting by header click, an auto-size column and
// column widths kept in the registry.
//
// Rows and columns are zero-based; -1 means none. Yes/no queries answer 1 or 0. A row's data
// value is 0 or a CObject; MyListCtrlLparam objects choose their row's colours and tips. The
// list never owns them. Bookmarks are row indices: sorting, inserting or deleting rows does not
// move them.
#include "controls/MyHeaderCtrl.h"
#include "platform/core/CDWordArray.h"
#include "platform/core/CStringList.h"
#include "platform/windows/CListCtrl.h"

#include <vector>

class MyListCtrlLparam;

class MyListCtrl : public CListCtrl
{
public:
    MyListCtrl() = default;
    ~MyListCtrl() override;

    // Rows, columns, focus and selection.
    int IsItem(int row) const;
    int IsColumn(int column) const;
    int GetFocusedItem() const;
    // Neither selects nor scrolls.
    int FocusItem(int row);
    int IsFocused(int row) const;
    // The next selected row after after (-1: from the first).
    int GetSelectedItem(int after) const;
    int SelectItem(int row, int select);
    int IsSelected(int row) const;
    int SelectAll(int select);
    // The partly shown row below the last whole one counts as visible.
    int IsItemVisible(int row) const;

    // Search and text.
    // The first row after start whose first cell equals text, ignoring case.
    int Find(const CString& text, int start) const;
    // The first row from start on whose cells equal texts column by column, with case.
    int FindExactMatch(const CStringList& texts, int start) const;
    // A cell's whole text (up to 32768 bytes), also when the owner supplies it.
    CString GetItemTextWorks(int row, int column) const;

    // Modes and settings.
    void SetModeAnyColumn(int on) { m_modeAnyColumn = on; }
    int GetModeAnyColumn() const { return m_modeAnyColumn; }
    int GetModeFirstColumn() const { return m_modeFirstColumn; }
    void SetModeGridLine(int horz, int vert);
    int GetModeGridLineHorz() const { return m_gridLineHorz; }
    int GetModeGridLineVert() const { return m_gridLineVert; }
    // Takes effect at the next font change.
    void SetLinesPerRow(int lines) { m_linesPerRow = lines; }
    // Posted to the parent, both parameters 0, each time the focused row is drawn; 0: none.
    void SetFocusNotification(UINT message) { m_focusNotification = message; }
    void SetAutoSizeColumn(int column) { m_autoSizeColumn = column; }
    void ClearAutoSizeColumn() { m_autoSizeColumn = -1; }

    // Column widths kept under HKEY_CURRENT_USER\keyPath (empty: not kept); loads them now.
    void SetModeColumnWidths(const CString& keyPath);
    void SaveColumnsWidthsToRegistry();
    // Gives the auto-size column the width the other columns leave.
    void HandleAutoSizeColumn();
    // A new column sorts descending first; toggle flips the direction of the same column.
    void SortColumn(int column, bool toggle);
    CString GetHeaderText(int column) const;

    // The cell under point (client coordinates): its row, or -1 (no cell), -2 (above the
    // visible rows), -3 (below them), -4 (not a report view).
    int GetCellRectFromPoint(const CPoint& point, CRect& rect, int& column) const;

    // Bookmarks, held in ascending order. Changing them does not redraw.
    int GetBookmarkCount() const { return m_bookmarks.GetSize(); }
    void ClearBookmarks() { m_bookmarks.SetSize(0); }
    bool IsBookmark(int row) const;
    void SetBookmark(int row, bool on);
    void ToggleBookmark(int row) { SetBookmark(row, !IsBookmark(row)); }
    // Focus the next (previous) bookmark after (before) the focused row, wrapping around.
    void NextBookmark();
    void PrevBookmark();

    // Tooltip identifiers of cells; 0 is never one.
    static UINT_PTR ToolId(int row, int column);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const override;
    BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;
    BOOL OnChildNotify(NMHDR* header, LRESULT* result) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnDestroy() override;

protected:
    void PreSubclassWindow() override;
    bool GetCellRect(int row, int column, CRect& rect) const;

    void OnClick(NMHDR* header, LRESULT* result);
    virtual void OnColumnclick(NMHDR* header, LRESULT* result);
    bool OnNeedtext(UINT id, NMHDR* header, LRESULT* result);

private:
    bool IsReportView() const;
    void FocusBookmark(int row);
    MyListCtrlLparam* RowObject(LPARAM data) const;
    void DrawCell(CDC& dc, int row, int column, int format, const CRect& cell, bool selected,
                  MyListCtrlLparam* object);
    // One step of the drag selection; the hit it found.
    int DragTo(CPoint point);
    // Puts the rows in order: order[0] first, and so on.
    void Reorder(const std::vector<int>& order);
    // The sort column's text of the row whose data value is data.

    int m_modeFirstColumn = 0;
    int m_modeAnyColumn = 0;
    int m_sortColumn = -1;
    int m_sortAscending = 1;
    CString m_widthsKey;
    int m_gridLineHorz = 0;
    int m_gridLineVert = 0;
    int m_linesPerRow = 1;
    MyHeaderCtrl m_header;
    CDWordArray m_bookmarks;
    int m_dragAnchor = -4;
    int m_autoSizeColumn = -1;
    UINT m_focusNotification = 0;
};

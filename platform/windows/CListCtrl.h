#pragma once
// The framework's list view control in report mode: rows of texts under column titles, each
// row with a data value (LPARAM, 0 allowed) and selected and focused states. Rows and columns
// are zero-based; -1 stands for "none" (or, where said, "every row").
//
// A row's texts are either stored or, given as LPSTR_TEXTCALLBACK, asked from the owner each
// time they are needed (LVN_GETDISPINFO). Notifications go first to OnChildNotify of this
// control (what the framework calls reflection), then to the parent window's OnNotify.
// With LVS_OWNERDRAWFIXED the rows are measured by MeasureItem and drawn by DrawItem.
#include "platform/gdi/DrawItemStruct.h"
#include "platform/windows/CHeaderCtrl.h"
#include "platform/windows/CListCtrlTypes.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

class CImageList;
class CListCtrlWidget;

// The pointer's position on the screen.
BOOL GetCursorPos(POINT* point);

class CListCtrl : public CWnd
{
public:
    // Makes a list window as a child of parent (a top-level window of its own without one).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    DWORD GetStyle() const;
    DWORD GetExtendedStyle() const;
    // Returns the previous extended style.
    DWORD SetExtendedStyle(DWORD style);
    CHeaderCtrl* GetHeaderCtrl();
    // Attaches header, in place of the plain CHeaderCtrl, to this list's header window.
    BOOL SubclassHeader(CHeaderCtrl& header);
    // Only LVSIL_SMALL is kept; it sets the least row height. The list does not own images.
    CImageList* SetImageList(CImageList* images, int which);
    CImageList* GetImageList(int which) const;

    // Columns. width -1 leaves the header's default width.
    int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    int InsertColumn(int column, const LVCOLUMN* info);
    BOOL DeleteColumn(int column);
    BOOL GetColumn(int column, LVCOLUMN* info) const;
    BOOL SetColumn(int column, const LVCOLUMN* info);
    // 0 for a column that does not exist.
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);

    // Rows. The result is the new row's index, -1 on failure.
    int InsertItem(const LVITEM* item);
    int InsertItem(int row, LPCTSTR text);
    int InsertItem(UINT mask, int row, LPCTSTR text, UINT state, UINT stateMask, int image,
                   LPARAM data);
    BOOL GetItem(LVITEM* item) const;
    BOOL SetItem(const LVITEM* item);
    BOOL SetItemText(int row, int column, LPCTSTR text);
    // Copies the text, cut to size with the terminator; returns its length.
    int GetItemText(int row, int column, LPTSTR buffer, int size) const;
    CString GetItemText(int row, int column) const;
    BOOL SetItemData(int row, LPARAM data);
    LPARAM GetItemData(int row) const;
    BOOL DeleteItem(int row);
    BOOL DeleteAllItems();
    int GetItemCount() const;

    UINT GetItemState(int row, UINT mask) const;
    BOOL SetItemState(int row, UINT state, UINT mask);
    int GetNextItem(int row, UINT flags) const;
    UINT GetSelectedCount() const;
    // LVFI_PARAM (constant time, after a first look-up), LVFI_STRING (first column, without
    // case), LVFI_PARTIAL (a beginning of the first column); the first row after start, or -1.
    int FindItem(const LVFINDINFO* info, int start = -1) const;
    // Stable sort by compare(data1, data2, user) < 0.
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM user);
    // The same with the rows' indices before the sort in place of their data values.
    BOOL SortItemsEx(PFNLVCOMPARE compare, LPARAM user);

    int GetTopIndex() const;
    // Rows that fit whole in the client area.
    int GetCountPerPage() const;
    BOOL EnsureVisible(int row, BOOL partialOK);
    // LVIR_BOUNDS: the whole row; LVIR_LABEL: the first column without the image;
    // LVIR_ICON: the image.
    BOOL GetItemRect(int row, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int row, int column, int code, CRect& rect) const;
    int HitTest(LVHITTESTINFO* info) const;
    int HitTest(CPoint point, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) const;

    BOOL RedrawItems(int first, int last);
    void SetRedraw(BOOL redraw = TRUE);
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();

    // Every later mouse event goes to this list, wherever the pointer is, until released.
    void SetCapture();
    void ReleaseCapture();
    BOOL HasCapture() const;
    // The list's font; FALSE without a window.
    BOOL GetLogFont(LOGFONT* font) const;

    // Makes the list ask OnToolHitTest which tool is under the pointer and show its text.
    void EnableToolTips(BOOL enable = TRUE);

    // The area of the header and rows, without the frame and scroll bars.
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(POINT* point) const;

    // Owner drawing (LVS_OWNERDRAWFIXED). The default draws as the list does without it.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    // The default keeps the height the list proposes (its font's and image's). Asked when the
    // list is attached and when its font or image list changes.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measure);
    void PreSubclassWindow() override;
    // A notification of this list, before the parent sees it; TRUE keeps it from the parent.
    virtual BOOL OnChildNotify(NMHDR* header, LRESULT* result);
    // Mouse moves over the rows and the left button's release, in client coordinates.
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    // With tooltips enabled: the tool under point (client coordinates), described in info;
    // -1 for none.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const;

    // Makes the widget of a template item of class "SysListView32".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);

private:
    CListCtrlWidget* List() const;
    bool IsColumnIndex(int column) const;

    CHeaderCtrl m_defaultHeader;
};

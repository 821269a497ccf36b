#pragma once
// The window of a report list: holds the rows, draws only the visible ones (through the
// attached CListCtrl's DrawItem when the list is owner-drawn), moves the selection with keys
// and mouse, and sends notifications: first to the attached CListCtrl (reflection), then to
// the parent window's OnNotify.
//
// Client coordinates have their origin at the header's top left corner, so rows start below
// the header, as on the desktop the program was written for.
#include "platform/windows/CListCtrlTypes.h"
#include "platform/windows/DialogTemplate.h"

#include <QAbstractScrollArea>
#include <unordered_map>
#include <vector>

class CHeaderCtrlWidget;
class CImageList;
class CListCtrl;
class QHelpEvent;

class CListCtrlWidget : public QAbstractScrollArea
{
    Q_OBJECT
public:
    CListCtrlWidget(DWORD style, QWidget* parent);

    // Makes the widget of a template item of class "SysListView32".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);

    DWORD Style() const { return m_style; }
    DWORD ExtendedStyle() const { return m_exStyle; }
    void SetExtendedStyle(DWORD style);
    CHeaderCtrlWidget* Header() const { return m_header; }
    CImageList* SmallImages() const { return m_smallImages; }
    void SetSmallImages(CImageList* images);

    // Rows.
    int Count() const { return int(m_rows.size()); }
    bool IsRow(int row) const { return row >= 0 && row < Count(); }
    // index is clamped to 0..Count(); returns the new row's index.
    int InsertRow(int index, LPARAM data, int image);
    bool DeleteRow(int row);
    void DeleteAllRows();
    LPARAM Data(int row) const { return m_rows[std::size_t(row)].data; }
    void SetData(int row, LPARAM data);
    int Image(int row) const { return m_rows[std::size_t(row)].image; }
    void SetImage(int row, int image);
    // LPSTR_TEXTCALLBACK makes the owner supply the cell's text.
    void SetText(int row, int column, LPCSTR text);
    // The cell's text as the desktop's LVM_GETITEM gives it: copied into buffer (cut to size
    // with the terminator), or, for a text the owner supplies, whatever pointer the owner
    // answered with (buffer or its own).
    LPCSTR ReadText(int row, int column, LPSTR buffer, int size) const;
    CString Text(int row, int column) const;

    // States: LVIS_SELECTED and LVIS_FOCUSED. row -1 changes every row.
    UINT State(int row) const;
    void SetState(int row, UINT state, UINT mask);
    int Focused() const { return m_focus; }
    int SelectedCount() const { return m_selectedCount; }
    int NextItem(int start, UINT flags) const;
    // The first row after start whose data value is data; -1 for none.
    int FindByData(int start, LPARAM data) const;
    // Stable; compare sees the rows as they were before the sort: their data values, or with
    // byIndex their indices.
    void Sort(PFNLVCOMPARE compare, LPARAM user, bool byIndex);

    // Geometry, in client coordinates.
    int RowHeight() const { return m_rowHeight; }
    int HeaderHeight() const;
    int TopIndex() const;
    // TopIndex without bringing the scroll range up to date: the position asked for while the
    // range waited, if any.
    int PendingTop() const;
    int CountPerPage() const;
    void EnsureVisible(int row, bool partialOK);
    QRect ClientRect() const;
    QRect RowRect(int row) const;
    QRect CellRect(int row, int column) const;
    // Fills info's flags, row and (with subItems) column for info.pt; returns the row.
    int HitTest(LVHITTESTINFO& info, bool subItems) const;
    QPoint ClientFromGlobal(const QPoint& global) const;

    void RedrawRows(int first, int last);
    void SetRedraw(bool redraw);
    void SetLocked(bool locked);
    // Measures the rows again: through the attached list's MeasureItem when it draws them.
    void InvalidateRowHeight();
    // Tooltips asked from the attached CListCtrl's OnToolHitTest and TTN_NEEDTEXTA.
    void EnableToolTips(bool enable) { m_toolTips = enable; }
    // Width of the widest text of column (and its title when withTitle), with margins.
    void FitColumn(int column, bool withTitle);

    // The drawing of a row when nobody draws it: texts per column with their alignment, the
    // selection and the focus frame in the palette's colours.
    void DrawRowDefault(QPainter& painter, int row, const QRect& rect, UINT odsState) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Cell {
        enum Kind : char { Unset, Text, Callback };
        CString text;
        Kind kind = Unset;
    };
    struct Row {
        LPARAM data = 0;
        UINT selected = 0;
        int image = -1;
        bool callback = false; // cells never given a text ask the owner
        std::vector<Cell> cells;
    };

    // A state change made while others were made, sent once the rows are consistent again.
    struct StateNote {
        int row;
        UINT oldState;
        UINT newState;
        LPARAM data;
    };
    using StateNotes = std::vector<StateNote>;

    // Space between a cell's edges and its text.
    static constexpr int kTextMargin = 6;

    CListCtrl* Attached() const;
    // Sends header to the attached list, then to the parent; false when a handler destroyed
    // the list, after which the caller must not touch it.
    bool Notify(NMHDR& header) const;
    bool NotifyActivate(UINT code, const QPoint& viewportPoint) const;
    void ApplyState(int row, UINT state, UINT mask, StateNotes& notes);
    void ApplyClearSelection(StateNotes& notes);
    bool SendStateNotes(const StateNotes& notes) const;
    // Both return false when a handler destroyed the list.
    bool SelectOnly(int row);
    bool ClearSelection();
    bool Press(QMouseEvent* event);
    void Layout();
    void ScheduleRange() const;
    void UpdateRange() const;
    // Repaints area of the viewport, or the page once the range is up to date.
    void UpdateArea(const QRect& area) const;
    void RebuildDataIndex() const;
    QPoint ClientFromViewport(const QPoint& point) const;
    UINT DrawState(int row) const;
    void DrawRow(QPainter& painter, int row, CListCtrl* owner) const;
    void DrawGridLines(QPainter& painter, int first, int last) const;
    int KeyTarget(int key) const;
    void ShowToolTip(const QHelpEvent& event);

    DWORD m_style;
    DWORD m_exStyle = 0;
    CHeaderCtrlWidget* m_header;
    CImageList* m_smallImages = nullptr;
    std::vector<Row> m_rows;
    int m_focus = -1;
    int m_selectedCount = 0;
    int m_lastSelected = -1; // where a single selection most likely is, checked first
    // The first row of each data value, made when first asked for after the rows changed.
    mutable std::unordered_map<LPARAM, int> m_byData;
    mutable bool m_byDataValid = false;
    int m_rowHeight = 1;
    mutable bool m_rangeDirty = false;
    mutable int m_pendingTop = -1;      // the first row to show once the range is up to date
    mutable bool m_repaintPage = false; // once the range is up to date
    mutable bool m_rangePosted = false;
    bool m_pressed = false;
    bool m_toolTips = false;
    bool m_inMouseMove = false;
    QPoint m_pressPoint;
};

#include "show/CReelmixView.h"

#include "platform/files/HostPath.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinApp.h"
#include "platform/windows/CDataExchange.h"
#include "res/DialogTemplates.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "show/ClipEditor.h"
#include "show/ClipListKeys.h"
#include "show/ClipTransfer.h"
#include "show/MovieSearch.h"
#include "show/PlaylistWriter.h"
#include "show/ShowEdit.h"
#include "util/Generic.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace
{
// Both marks set (and real numbers): the clip's length can be told.
bool HasMarks(const Clip& clip)
{
    return std::isfinite(clip.m_start) && std::isfinite(clip.m_end) && clip.m_start >= 0 &&
           clip.m_end >= 0;
}

// A clip's length in whole milliseconds, the one figure its row shows and the total adds up;
// negative when it cannot be told (a mark not set, or the end not after the start).
double LengthMs(const Clip& clip)
{
    if (!HasMarks(clip) || clip.m_start >= clip.m_end)
        return -1.0;
    return std::round((clip.m_end - clip.m_start) * 1000.0);
}

unsigned long long WholeMs(double ms)
{
    constexpr unsigned long long kLimit = 18000000000000000000ull; // below the largest 64-bit count
    return ms < double(kLimit) ? static_cast<unsigned long long>(ms) : kLimit;
}

CString DurationText(const Clip& clip)
{
    const double ms = LengthMs(clip);
    if (ms < 0)
        return "Unknown";
    CString text;
    text.Format("%llu.%03llu secs", WholeMs(ms) / 1000, WholeMs(ms) % 1000);
    return text;
}

CString RowText(const Clip& clip, int column)
{
    switch (column) {
    case 0:
        return clip.m_fileName;
    case 1:
        return CString(ToHostPath(clip.m_directory));
    case 2:
        return DurationText(clip);
    default:
        return CString();
    }
}

// Milliseconds as hh:mm:ss.mmm; the hours take as many digits as they need.
CString DurationClock(double ms)
{
    const unsigned long long t = WholeMs(ms);
    const unsigned long long hours = t / 3600000;
    const unsigned long long rest = t - hours * 3600000;
    CString text;
    text.Format("%02llu:%02llu:%02llu.%03llu", hours, rest / 60000, (rest % 60000) / 1000,
                rest % 1000);
    return text;
}
// Calls back when a widget's width changes.
class WidthWatch : public QObject
{
public:
    WidthWatch(QWidget* widget, std::function<void()> changed)
        : QObject(widget), m_changed(std::move(changed)), m_width(widget->width())
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Resize && widget->width() != m_width) {
            m_width = widget->width();
            m_changed();
        }
        return false;
    }

private:
    std::function<void()> m_changed;
    int m_width;
};
} // namespace

CReelmixView::CReelmixView() : CFormView(IDD_REELMIX_FORM), m_list([this] { OnRowsSorted(); }) {}

// The controls hear OnDestroy while their members still exist.
CReelmixView::~CReelmixView()
{
    DestroyWindow();
}

CReelmixDoc* CReelmixView::GetDocument() const
{
    return static_cast<CReelmixDoc*>(CView::GetDocument());
}

void CReelmixView::DoDataExchange(CDataExchange* dx)
{
    CFormView::DoDataExchange(dx);
    DDX_Control(dx, IDC_SHUFFLE, m_btnShuffle);
    DDX_Control(dx, IDC_LIST, m_list);
    DDX_Control(dx, IDC_UP, m_btnUp);
    DDX_Control(dx, IDC_PLAY_SHOW, m_btnPlayShow);
    DDX_Control(dx, IDC_MULTI_LOAD, m_btnMultiLoad);
    DDX_Control(dx, IDC_INSERT, m_btnInsert);
    DDX_Control(dx, IDC_EDIT, m_btnEdit);
    DDX_Control(dx, IDC_DOWN, m_btnDown);
    DDX_Control(dx, IDC_DELETE, m_btnDelete);
    DDX_Text(dx, IDC_CLIP_COUNT, m_clipCountText);
    DDX_Text(dx, IDC_TOTAL_DURATION, m_totalDurationText);
}

void CReelmixView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    LVCOLUMN first{LVCF_WIDTH, 0, 0, nullptr, 0, 0};
    if (!m_list.GetColumn(0, &first))
        SetUpList();
    if (CReelmixDoc* doc = GetDocument()) {
        POSITION pos = doc->m_clips.GetHeadPosition();
        while (pos) {
            auto* clip = static_cast<Clip*>(doc->m_clips.GetNext(pos));
            m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, m_list.GetItemCount(), LPSTR_TEXTCALLBACK, 0,
                              0, 0, LPARAM(static_cast<CObject*>(clip)));
        }
    }
    UpdateTotals();
}

// The first initial update only: the window's size, the buttons' icons and the columns.
void CReelmixView::SetUpList()
{
    RecalcParentLayout();
    ResizeParentToFit(FALSE);
    ResizeParentToFit(TRUE);

    m_btnInsert.SetIcon(116, 16, 16);
    m_btnEdit.SetIcon(114, 16, 16);
    m_btnDelete.SetIcon(115, 16, 16);
    m_btnUp.SetIcon(110, 16, 16);
    m_btnDown.SetIcon(111, 16, 16);
    m_btnMultiLoad.SetIcon(117, 32, 32);
    m_btnShuffle.SetIcon(109, 32, 32);
    m_btnPlayShow.SetIcon(112, 32, 32);

    m_list.InsertColumn(0, "FileName", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, "Directory", LVCFMT_LEFT, 300);
    m_list.InsertColumn(2, "Duration", LVCFMT_RIGHT, 100);
    LVCOLUMN format{LVCF_FMT, LVCFMT_LEFT, 0, nullptr, 0, 0};
    m_list.SetColumn(0, &format);
    m_list.SetModeColumnWidths("Software\\Brantwell\\Reelmix\\Clips");
    m_keys = std::make_unique<ClipListKeys>(
        m_list, std::vector<ClipListKeys::Binding>{
                    {Qt::Key_Delete, false, &m_btnDelete, [this] { OnDelete(); }},
                    {Qt::Key_Up, true, &m_btnUp, [this] { OnUp(); }},
                    {Qt::Key_Down, true, &m_btnDown, [this] { OnDown(); }}});

    if (auto* rows = qobject_cast<QAbstractScrollArea*>(m_list.GetSafeHwnd()))
        new WidthWatch(rows->viewport(), [this] { ShareColumnWidths(); });
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto readClipboard = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        m_canPaste = data && ClipTransfer::CanRead(*data);
    };
    QObject::connect(clipboard, &QClipboard::dataChanged, GetSafeHwnd(), readClipboard);
    readClipboard();

    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
}

void CReelmixView::OnUpdate(CView*, LPARAM hint, CObject* hintObject)
{
    if (hint == CReelmixDoc::HintClear && IsWindow(m_list.GetSafeHwnd())) {
        m_list.DeleteAllItems();
        m_clipKeysValid = false;
        ++m_clears;
    }
    if (hint == CReelmixDoc::HintRows && IsWindow(m_list.GetSafeHwnd()))
        ReplaceRows(*static_cast<const CReelmixDoc::RowsChange*>(hintObject));
    UpdateTotals();
}

// The file name and directory columns share what the duration column leaves of the rows'
// width, in the proportion they have (the stored one, or the user's), so that the list needs no
// horizontal scrolling until the user widens a column.
void CReelmixView::ShareColumnWidths()
{
    constexpr int kNarrowest = 40;
    auto* rows = qobject_cast<QAbstractScrollArea*>(m_list.GetSafeHwnd());
    if (!rows || !m_list.IsColumn(2))
        return;
    const int room = rows->viewport()->width() - m_list.GetColumnWidth(2);
    const int name = m_list.GetColumnWidth(0);
    const int folder = m_list.GetColumnWidth(1);
    if (room < 2 * kNarrowest || name + folder <= 0)
        return;
    // Widths set here keep the share they were made from, free of rounding.
    if (std::make_pair(name, folder) != m_sharedWidths)
        m_nameShare = double(name) / (name + folder);
    const int nameWidth =
        std::clamp(int(std::lround(room * m_nameShare)), kNarrowest, room - kNarrowest);
    m_sharedWidths = {nameWidth, room - nameWidth};
    m_list.SetColumnWidth(0, nameWidth);
    m_list.SetColumnWidth(1, room - nameWidth);
}

void CReelmixView::OnSize(UINT type, int cx, int cy)
{
    CFormView::OnSize(type, cx, cy);
    const int mx = Generic::GetHorzPixels(this, 7);
    const int my = Generic::GetVertPixels(this, 7);
    const int bw = Generic::GetHorzPixels(this, 98);
    const int bh = Generic::GetVertPixels(this, 32);
    const int top = Generic::GetVertPixels(this, 21);
    if (CWnd* list = GetDlgItem(IDC_LIST))
        list->SetWindowPos(nullptr, 0, 0, cx - 3 * mx - bw, cy - top - my,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int x = cx - bw - mx;
    MoveControl(IDC_CLIP_COUNT, x, top);
    MoveControl(IDC_TOTAL_DURATION, x, top + 2 * my);
    FitLabelHeight(IDC_CLIP_COUNT);
    FitLabelHeight(IDC_TOTAL_DURATION);
    MoveControl(IDC_MULTI_LOAD, x, cy - 3 * (bh + my));
    MoveControl(IDC_SHUFFLE, x, cy - 2 * (bh + my));
    MoveControl(IDC_PLAY_SHOW, x, cy - (bh + my));
}

// The desktop font is wider than the one the form was drawn for, so a total may need a second
// line; the label grows down to show it rather than cutting it off.
void CReelmixView::FitLabelHeight(int id)
{
    CWnd* label = GetDlgItem(id);
    QWidget* widget = label ? label->GetSafeHwnd() : nullptr;
    if (!widget)
        return;
    CRect rect(0, 0, 0, 8); // the labels' height in the template
    MapDialogRect(&rect);
    const int height = std::max(rect.Height(), widget->heightForWidth(widget->width()));
    label->SetWindowPos(nullptr, 0, 0, widget->width(), height,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CReelmixView::MoveControl(int id, int x, int y)
{
    if (CWnd* control = GetDlgItem(id))
        control->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CReelmixView::OnNotify(WPARAM id, LPARAM header, LRESULT* result)
{
    const auto* notification = reinterpret_cast<const NMHDR*>(header);
    if (id == IDC_LIST && notification->code == LVN_GETDISPINFO) {
        OnGetDispInfo(reinterpret_cast<NMHDR*>(header), result);
        return TRUE;
    }
    if (id == IDC_LIST && (notification->code == NM_DBLCLK || notification->code == NM_RETURN)) {
        OnDblClick(reinterpret_cast<NMHDR*>(header), result);
        return TRUE;
    }
    return CFormView::OnNotify(id, header, result);
}

void CReelmixView::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    LVITEM& item = reinterpret_cast<LV_DISPINFO*>(header)->item;
    const auto* clip = dynamic_cast<const Clip*>(reinterpret_cast<const CObject*>(item.lParam));
    if (clip && (item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const CString text = RowText(*clip, item.iSubItem);
        const int length = std::min(text.GetLength(), item.cchTextMax - 1);
        std::memcpy(item.pszText, (const char*)text, std::size_t(length));
        item.pszText[length] = '\0';
    }
    *result = 0;
}

Clip* CReelmixView::RowClip(int row) const
{
    return dynamic_cast<Clip*>(reinterpret_cast<CObject*>(m_list.GetItemData(row)));
}

Clip* CReelmixView::SelectedClip() const
{
    const int row = m_list.GetSelectedItem(-1);
    return row >= 0 ? RowClip(row) : nullptr;
}

BOOL CReelmixView::OnCommand(UINT id)
{
    void (CReelmixView::*handler)() = nullptr;
    switch (id) {
    case IDC_INSERT:
        handler = &CReelmixView::OnInsert;
        break;
    case IDC_DELETE:
        handler = &CReelmixView::OnDelete;
        break;
    case IDC_UP:
        handler = &CReelmixView::OnUp;
        break;
    case IDC_DOWN:
        handler = &CReelmixView::OnDown;
        break;
    case IDC_SHUFFLE:
        handler = &CReelmixView::OnShuffle;
        break;
    case IDC_MULTI_LOAD:
        handler = &CReelmixView::OnMultiLoad;
        break;
    case IDC_PLAY_SHOW:
        handler = &CReelmixView::OnPlayShow;
        break;
    case IDC_EDIT:
        handler = &CReelmixView::OnEdit;
        break;
    default:
        return CFormView::OnCommand(id);
    }
    (this->*handler)();
    return TRUE;
}

void CReelmixView::OnDblClick(NMHDR*, LRESULT* result)
{
    if (m_list.GetSelectedItem(-1) >= 0)
        OnEdit();
    *result = 0;
}

void CReelmixView::OnEdit()
{
    const int row = m_list.GetSelectedItem(-1);
    if (Clip* clip = row >= 0 ? RowClip(row) : nullptr) {
        auto* editor = dynamic_cast<ClipEditor*>(AfxGetApp());
        if (!editor)
            qCritical("Edit: the application object has no clip editor");
        CWaitCursor wait;
        const ShowEdit edit(*this, "Edit Clip", clip);
        if (editor && editor->EditClip(*clip, this)) {
            m_list.RedrawItems(row, row);
            m_list.EnsureVisible(row, FALSE);
        }
    }
    UpdateTotals();
}

void CReelmixView::OnPlayShow()
{
    PlaylistWriter::Rows rows;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        rows.push_back(RowClip(row));
    PlaylistWriter::OnPlayShow(rows);
}

// The clips keep their nodes in the document; only which clip each node holds changes, so no
// clip can be lost or doubled by the reordering.
void CReelmixView::OnRowsSorted()
{
    ++m_sorts;
    const ShowEdit edit(*this, "Sort");
    CReelmixDoc* doc = GetDocument();
    if (!doc || m_list.GetItemCount() != doc->m_clips.GetCount())
        return;
    std::vector<Clip*> order;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (Clip* clip = RowClip(row))
            order.push_back(clip);
    if (int(order.size()) != doc->m_clips.GetCount())
        return;
    POSITION pos = doc->m_clips.GetHeadPosition();
    for (Clip* clip : order) {
        doc->m_clips.SetAt(pos, clip);
        doc->m_clips.GetNext(pos);
    }
}

void CReelmixView::UpdateTotals()
{
    if (!IsWindow(m_list.GetSafeHwnd()))
        return;
    const int rows = m_list.GetItemCount();
    m_clipCountText.Format("%d Clips In Show", rows);
    double total = 0.0; // whole milliseconds, exact far beyond any show's length
    bool unknown = false;
    for (int row = 0; row < rows; ++row) {
        const auto* clip = RowClip(row);
        if (!clip)
            continue;
        // Only clips whose length can be told count, as their rows show them.
        const double ms = LengthMs(*clip);
        if (ms >= 0)
            total += ms;
        else
            unknown = true;
    }
    m_totalDurationText = "Total Duration: ";
    if (unknown)
        m_totalDurationText += "> ";
    m_totalDurationText += DurationClock(total);
    UpdateData(FALSE);
    FitLabelHeight(IDC_CLIP_COUNT);
    FitLabelHeight(IDC_TOTAL_DURATION);
}

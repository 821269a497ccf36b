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
#include "show/MovieSearch.h"
#include "show/PlaylistWriter.h"
#include "util/Generic.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace
{
// Both marks set (and real numbers): the clip's length can be told.
bool HasMarks(const Clip& clip)
{
    return std::isfinite(clip.m_start) && std::isfinite(clip.m_end) && clip.m_start >= 0 &&
           clip.m_end >= 0;
}

CString DurationText(const Clip& clip)
{
    if (!HasMarks(clip) || clip.m_start >= clip.m_end)
        return "Unknown";
    CString text;
    text.Format("%.03f secs", clip.m_end - clip.m_start);
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

// Seconds as [-]hh:mm:ss.mmm, milliseconds truncated toward zero (as the playlist counts
// them); the hours take as many digits as they need.
CString DurationClock(double seconds)
{
    const std::int64_t ms = PlaylistWriter::ToMilliseconds(seconds);
    const auto t =
        ms < 0 ? 0ull - static_cast<unsigned long long>(ms) : static_cast<unsigned long long>(ms);
    const unsigned long long hours = t / 3600000;
    const unsigned long long rest = t - hours * 3600000;
    CString text;
    text.Format("%s%02llu:%02llu:%02llu.%03llu", ms < 0 ? "-" : "", hours, rest / 60000,
                (rest % 60000) / 1000, rest % 1000);
    return text;
}
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

    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
}

void CReelmixView::OnUpdate(CView*, LPARAM hint, CObject*)
{
    if (hint == CReelmixDoc::HintClear && IsWindow(m_list.GetSafeHwnd())) {
        m_list.DeleteAllItems();
        m_clipKeysValid = false;
        ++m_clears;
    }
    UpdateTotals();
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
        if (editor && editor->EditClip(*clip, this)) {
            if (CReelmixDoc* doc = GetDocument())
                doc->SetModifiedFlag();
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
    doc->SetModifiedFlag();
}

void CReelmixView::UpdateTotals()
{
    if (!IsWindow(m_list.GetSafeHwnd()))
        return;
    const int rows = m_list.GetItemCount();
    m_clipCountText.Format("%d Clips In Show", rows);
    double total = 0.0;
    bool unknown = false;
    for (int row = 0; row < rows; ++row) {
        const auto* clip = RowClip(row);
        if (!clip)
            continue;
        // Only clips whose length can be told count; reversed marks count as they stand.
        if (HasMarks(*clip))
            total += clip->m_end - clip->m_start;
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

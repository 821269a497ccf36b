#include "preview/EditClipDlg.h"

#include "platform/framework/CWaitCursor.h"
#include "platform/windows/CDataExchange.h"
#include "platform/windows/CSpinButtonCtrl.h"
#include "res/DialogTemplates.h"
#include "util/WindowPlacementStore.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* kRegistryKey = "Software\\Brantwell\\Reelmix\\EditClipDlg";
// The Mark End hand's distance from the button's right end on the system (124 of 150 pixels),
// and the gaps that keep the caption clear of it.
constexpr int kHandFromRight = 150 - 124;
constexpr int kCaptionGap = 8;
constexpr int kEdge = 4;
} // namespace

EditClipDlg::EditClipDlg(const CString& path, const CString& fileName, double start, double end,
                         CWnd* parent)
    : CDialog(IDD_EDIT_CLIP, parent), m_path(path), m_fileName(fileName), m_start(start), m_end(end)
{
    CMediaPlayer2::RegisterControlClass();
}

EditClipDlg::~EditClipDlg()
{
    // The controls hear OnDestroy while the members still exist.
    DestroyWindow();
}

void EditClipDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_GO_TO_END, m_btnGoToEnd);
    DDX_Control(dx, IDC_GO_TO_START, m_btnGoToStart);
    DDX_Control(dx, IDC_MARK_END, m_btnMarkEnd);
    DDX_Control(dx, IDC_MARK_START, m_btnMarkStart);
    DDX_Control(dx, IDC_PLAYER, m_player);
    DDX_Text(dx, IDC_START_TEXT, m_startText);
    DDX_Text(dx, IDC_END_TEXT, m_endText);
    DDX_Text(dx, IDC_POSITION_TEXT, m_positionText);
}

BOOL EditClipDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_player.SetEventSink(this);
    CWaitCursor wait;
    SetWindowText("Editing Clip: " + m_fileName);
    WindowPlacementStore::Restore(GetSafeHwnd(), kRegistryKey);

    m_btnMarkStart.SetIcon(118, 16, 16);
    m_btnGoToStart.SetIcon(128, 16, 16);
    m_btnGoToEnd.SetIcon(129, 16, 16);
    m_btnMarkEnd.SetIcon(119, 16, 16);
    m_btnMarkEnd.SetImageOffset(124);
    m_btnMarkEnd.SetTextOffset(-100);
    FitMarkEndCaption();
    FitPositionLabel();

    m_player.SetFileName(m_path);
    m_player.SetSelectionStart(m_start);
    m_player.SetSelectionEnd(m_end);
    UpdatePosition();
    UpdateMarks();
    return TRUE;
}

// The desktop font is wider than the one the offsets were chosen for: the hand keeps its place
// at the right end, and the caption ends a gap before it, in a smaller font if need be.
void EditClipDlg::FitMarkEndCaption()
{
    QWidget* button = m_btnMarkEnd.GetSafeHwnd();
    if (!button)
        return;
    CString caption;
    m_btnMarkEnd.GetWindowText(caption);
    const QString shown = QString::fromUtf8((const char*)caption).remove('&');
    const int handX = button->width() - kHandFromRight;
    const int room = handX - kCaptionGap - kEdge;
    QFont font = button->font();
    while (QFontMetrics(font).horizontalAdvance(shown) > room && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    button->setFont(font);
    const int textX =
        std::max(kEdge, handX - kCaptionGap - QFontMetrics(font).horizontalAdvance(shown));
    m_btnMarkEnd.SetImageOffset(handX);
    m_btnMarkEnd.SetTextOffset(textX - handX - 16);
}

// The readout's longest text wraps to three lines in the desktop font; the label grows down
// into the gap above the player to show them all.
void EditClipDlg::FitPositionLabel()
{
    CWnd* label = GetDlgItem(IDC_POSITION_TEXT);
    QWidget* widget = label ? label->GetSafeHwnd() : nullptr;
    if (!widget)
        return;
    const QRect text = widget->fontMetrics().boundingRect(
        QRect(0, 0, widget->width(), 1000), Qt::TextWordWrap, "Current position: Frame 00000");
    widget->resize(widget->width(), std::max(widget->height(), text.height()));
}

CString EditClipDlg::MarkText(const char* name, double seconds)
{
    if (seconds < 0)
        return "Not set.";
    CString text;
    text.Format("%s: %.03f secs", name, seconds);
    return text;
}

CString EditClipDlg::PositionText(double frames)
{
    CString text;
    text.Format("Current position: Frame %d", int(frames));
    return text;
}

void EditClipDlg::UpdateMarks()
{
    m_startText = MarkText("Start", m_start);
    m_endText = MarkText("End", m_end);
    m_player.SetSelectionStart(m_start);
    m_player.SetSelectionEnd(m_end);
    UpdateData(FALSE);
}

void EditClipDlg::UpdatePosition()
{
    m_player.SetDisplayMode(CMediaPlayer2::FrameMode);
    m_positionText = PositionText(m_player.GetCurrentPosition());
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
    UpdateData(FALSE);
}

void EditClipDlg::OnMarkStart()
{
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
    m_start = m_player.GetCurrentPosition();
    if (m_end < 0 || m_start > m_end)
        m_end = m_player.GetDuration();
    UpdateMarks();
}

void EditClipDlg::OnMarkEnd()
{
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
    m_end = m_player.GetCurrentPosition();
    if (m_start < 0 || m_end < m_start)
        m_start = 0;
    UpdateMarks();
}

void EditClipDlg::OnDeltaposSpin(NMHDR* header, LRESULT* result)
{
    const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
    m_player.SetDisplayMode(CMediaPlayer2::FrameMode);
    const int n = std::max(0, int(m_player.GetCurrentPosition()) - change->iDelta);
    m_player.SetCurrentPosition(n);
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
    *result = 0;
}

void EditClipDlg::OnGoToStart()
{
    m_player.SetDisplayMode(CMediaPlayer2::FrameMode);
    m_player.SetCurrentPosition(1);
    m_player.SetCurrentPosition(0);
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
}

void EditClipDlg::OnGoToEnd()
{
    m_player.SetDisplayMode(CMediaPlayer2::FrameMode);
    m_player.SetCurrentPosition(m_player.GetDuration() - 1);
    m_player.SetCurrentPosition(m_player.GetDuration());
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
}

void EditClipDlg::OnPositionChange(double, double)
{
    UpdatePosition();
}

void EditClipDlg::OnPlayStateChange(long, long newState)
{
    if (newState == 0 || newState == 1 || newState == 2) {
        const BOOL stepping = newState != 2;
        if (CWnd* spin = GetDlgItem(IDC_SPIN))
            spin->EnableWindow(stepping);
        if (CWnd* label = GetDlgItem(IDC_POSITION_TEXT))
            label->EnableWindow(stepping);
    }
    UpdatePosition();
}

// The player shows its own warnings and errors; the dialog has nothing to add.
void EditClipDlg::OnWarning(long, long, const char*) {}

void EditClipDlg::OnError() {}

BOOL EditClipDlg::OnCommand(UINT id)
{
    switch (id) {
    case IDC_MARK_START:
        OnMarkStart();
        return TRUE;
    case IDC_MARK_END:
        OnMarkEnd();
        return TRUE;
    case IDC_GO_TO_START:
        OnGoToStart();
        return TRUE;
    case IDC_GO_TO_END:
        OnGoToEnd();
        return TRUE;
    default:
        return CDialog::OnCommand(id);
    }
}

BOOL EditClipDlg::OnNotify(WPARAM id, LPARAM header, LRESULT* result)
{
    auto* notification = reinterpret_cast<NMHDR*>(header);
    if (id == IDC_SPIN && notification->code == UDN_DELTAPOS) {
        OnDeltaposSpin(notification, result);
        return TRUE;
    }
    return CDialog::OnNotify(id, header, result);
}

void EditClipDlg::OnDestroy()
{
    CDialog::OnDestroy();
    m_player.SetEventSink(nullptr);
    WindowPlacementStore::Save(GetSafeHwnd(), kRegistryKey);
}

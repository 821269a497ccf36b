#include "preview/EditClipDlg.h"

#include "platform/framework/CWaitCursor.h"
#include "platform/windows/CDataExchange.h"
#include "platform/windows/CSpinButtonCtrl.h"
#include "platform/windows/DialogTemplateBuilder.h"
#include "res/DialogTemplates.h"
#include "util/WindowPlacementStore.h"

#include <QFontMetrics>
#include <QShortcut>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>

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
    // The player opens the movie at the size it has in the restored window.
    DialogTemplateBuilder::Arrange(GetSafeHwnd());

    m_btnMarkStart.SetIcon(118, 16, 16);
    m_btnGoToStart.SetIcon(128, 16, 16);
    m_btnGoToEnd.SetIcon(129, 16, 16);
    m_btnMarkEnd.SetIcon(119, 16, 16);
    m_btnMarkEnd.SetImageOffset(124);
    m_btnMarkEnd.SetTextOffset(-100);
    FitMarkEndCaption();
    FitPositionLabel();

    SetUpKeys();

    m_player.SetFileName(m_path);
    m_player.SetSelectionStart(m_start);
    m_player.SetSelectionEnd(m_end);
    UpdatePosition();
    UpdateMarks();
    // Not on Mark Start, where Enter would mark the movie's first picture.

    return FALSE;
}

void EditClipDlg::SetUpKeys()
{
    struct Key {
        QKeySequence sequence;
        int control; // the control whose command the key gives, or that must be enabled
        std::function<void()> command;
        const char* tip;
    };
    const Key keys[] = {
        {Qt::Key_I, IDC_MARK_START, [this] { OnMarkStart(); },
         "Mark the start of the clip at the picture shown (I)"},
        {Qt::Key_O, IDC_MARK_END, [this] { OnMarkEnd(); },
         "Mark the end of the clip at the picture shown (O)"},
        {Qt::Key_Home, IDC_GO_TO_START, [this] { OnGoToStart(); },
         "Go to the first picture (Home)"},
        {Qt::Key_End, IDC_GO_TO_END, [this] { OnGoToEnd(); }, "Go to the last picture (End)"},
        {Qt::Key_Left, IDC_SPIN, [this] { StepFrames(-1); },
         "Step one picture back or forward (Left, Right), or one second (Shift+Left, "
         "Shift+Right)"},
        {Qt::Key_Right, IDC_SPIN, [this] { StepFrames(1); }, nullptr},
        {Qt::SHIFT | Qt::Key_Left, IDC_SPIN, [this] { StepSeconds(-1.0); }, nullptr},
        {Qt::SHIFT | Qt::Key_Right, IDC_SPIN, [this] { StepSeconds(1.0); }, nullptr},
        {Qt::Key_Space, IDC_PLAYER, [this] { m_player.TogglePlay(); },
         "The movie: Space plays and pauses it"},
    };
    QWidget* window = GetSafeHwnd();
    for (const Key& key : keys) {
        CWnd* control = GetDlgItem(key.control);
        if (!control)
            continue;
        auto* shortcut = new QShortcut(key.sequence, window);
        QObject::connect(shortcut, &QShortcut::activated, window, [control, command = key.command] {
            if (control->IsWindowEnabled())
                command();
        });
        if (key.tip)
            control->GetSafeHwnd()->setToolTip(QString::fromUtf8(key.tip));
    }
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
    StepFrames(-reinterpret_cast<const NMUPDOWN*>(header)->iDelta);
    *result = 0;
}

void EditClipDlg::StepFrames(int frames)
{
    m_player.SetDisplayMode(CMediaPlayer2::FrameMode);
    const int n = std::max(0, int(m_player.GetCurrentPosition()) + frames);
    m_player.SetCurrentPosition(n);
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
}

void EditClipDlg::StepSeconds(double seconds)
{
    m_player.SetDisplayMode(CMediaPlayer2::TimeMode);
    m_player.SetCurrentPosition(std::max(0.0, m_player.GetCurrentPosition() + seconds));
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
        const BOOL stepping = newState != 2 && m_btnMarkStart.IsWindowEnabled();
        if (CWnd* spin = GetDlgItem(IDC_SPIN))
            spin->EnableWindow(stepping);
        if (CWnd* label = GetDlgItem(IDC_POSITION_TEXT))
            label->EnableWindow(stepping);
    }
    UpdatePosition();
}

// The player shows its own warnings and errors; a movie it cannot play has nothing to mark.
void EditClipDlg::OnWarning(long, long, const char*) {}

void EditClipDlg::OnError()
{
    for (const int id : {IDC_MARK_START, IDC_MARK_END, IDC_GO_TO_START, IDC_GO_TO_END, IDC_SPIN,
                         IDC_POSITION_TEXT})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(FALSE);
}

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

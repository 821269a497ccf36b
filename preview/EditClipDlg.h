#pragma once
// The modal "Edit Clip" dialog: previews one clip's movie, steps through it frame by frame, and
// marks where the clip starts and ends. The caller takes m_start and m_end when the dialog ends
// with OK; the dialog keeps its window placement between runs, and can be made larger.
//
// Keys, as in other editors, wherever the focus is: Left and Right step a frame, Shift with them
// a second, Home and End go to the ends, I and O mark the start and the end, Space plays and
// pauses. The picture has the focus at first, so that Enter is OK. A movie that cannot be played
// leaves nothing to mark or step.
#include "controls/MyButton.h"
#include "platform/windows/CDialog.h"
#include "preview/CMediaPlayer2.h"
#include "preview/CMediaPlayer2Events.h"

class EditClipDlg : public CDialog, private CMediaPlayer2Events
{
public:
    // Control ids of the dialog's template.
    static constexpr int IDC_PLAYER = 1008;
    static constexpr int IDC_MARK_START = 1009;
    static constexpr int IDC_MARK_END = 1010;
    static constexpr int IDC_START_TEXT = 1012;
    static constexpr int IDC_END_TEXT = 1013;
    static constexpr int IDC_SPIN = 1014;
    static constexpr int IDC_POSITION_TEXT = 1015;
    static constexpr int IDC_GO_TO_START = 1034;
    static constexpr int IDC_GO_TO_END = 1035;

    // path: the movie's program path; fileName: its name in the caption; start and end: the
    // clip's marks in seconds, negative when not set.
    EditClipDlg(const CString& path, const CString& fileName, double start, double end,
                CWnd* parent = nullptr);
    ~EditClipDlg() override;

    BOOL OnInitDialog() override;
    void OnDestroy() override;
    BOOL OnCommand(UINT id) override;
    BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;

    void OnMarkStart();
    void OnMarkEnd();
    void OnGoToStart();
    void OnGoToEnd();
    // A step of the up-down control, told before it moves.
    void OnDeltaposSpin(NMHDR* header, LRESULT* result);
    // Frames forward (back when negative); while playing, nothing.
    void StepFrames(int frames);
    void StepSeconds(double seconds);

    // The label texts for a mark in seconds and for a position in frames.
    static CString MarkText(const char* name, double seconds);
    static CString PositionText(double frames);

    MyButton m_btnGoToEnd;
    MyButton m_btnGoToStart;
    MyButton m_btnMarkEnd;
    MyButton m_btnMarkStart;
    CMediaPlayer2 m_player;
    CString m_startText;
    CString m_endText;
    CString m_positionText;
    CString m_path;
    CString m_fileName;
    double m_start;
    double m_end;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnPositionChange(double oldPosition, double newPosition) override;
    void OnPlayStateChange(long oldState, long newState) override;
    void OnWarning(long warningType, long param, const char* description) override;
    void OnError() override;

    void UpdateMarks();
    void UpdatePosition();
    // Sizes the Mark End caption so that it ends before the hand at the button's right.
    void FitMarkEndCaption();
    void FitPositionLabel();
    // The keys and the tips that name them.
    void SetUpKeys();
};

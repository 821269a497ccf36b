#pragma once
// The framework's main window: a QMainWindow with the menu, accelerators, icon and title of a
// resource id, hosting one view as its client area, with the control bars its derived class
// makes in OnCreate.
//
// Commands from the menu, the accelerators and the toolbar go through OnCommand to OnCmdMsg,
// which offers them to the frame, then the active view, then its document, then the
// application. Menu items are enabled and checked as the targets say when their menu opens,
// toolbar buttons and status indicators in the application's idle work; a command nobody
// handles is greyed and does nothing.
//
// A close request (the close box, Exit) is handled by OnClose after the event that asked for
// it, so that the window is never destroyed from inside its own event handling.
#include "platform/core/CPoint.h"
#include "platform/windows/CCmdTarget.h"
#include "platform/windows/CWnd.h"

#include "platform/framework/FrameTemplates.h"

#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CStatusBar;
class CToolBar;
class CView;
class QMenu;
class QAction;

struct CCreateContext {
    std::function<std::unique_ptr<CView>()> m_pNewViewClass;
    CDocument* m_pCurrentDoc = nullptr;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

class CFrameWnd : public CWnd, public CCmdTarget
{
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Makes the window from resource id and runs OnCreate; FALSE (no window) when that fails.
    virtual BOOL LoadFrame(UINT nIDResource, CCreateContext* context);

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* view);
    CDocument* GetActiveDocument() const;
    // Tells the view about its (new, opened or renewed) document and titles the window.
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    // "document - title".
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    const CString& GetTitle() const { return m_strTitle; }

    // The sides that accept docked bars (CBRS_ALIGN_ bits); a bar docked where neither it nor
    // the frame allow docking stays fixed at the top.
    void EnableDocking(DWORD style);
    void DockControlBar(CToolBar* bar);
    void DragAcceptFiles(BOOL accept = TRUE);
    // Shows text in the status bar's message pane.
    void SetMessageText(LPCTSTR text);

    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Runs command id when its targets have it enabled. TRUE when it ran.
    BOOL OnCommand(UINT id) override;
    // Updates the toolbar buttons and status indicators.
    void OnIdleUpdateCmdUI();
    // Asks for OnClose once the current event is done.
    void PostClose();

    virtual int OnCreate(CCreateContext* context);
    virtual BOOL OnCreateClient(CCreateContext* context);
    virtual void OnClose();
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    // Files dropped on the window: each is opened as a document.
    virtual void OnDropFiles(const std::vector<CString>& files);
    void OnDestroy() override;

    // Applies the size limits of OnGetMinMaxInfo to the window.
    void ApplyMinMaxInfo();
    // A control bar made in this frame, found by its id for the bar commands.
    void AddControlBar(UINT id, CWnd* bar);

protected:
    CString m_strTitle;
    UINT m_nIDHelp = 0;
    DWORD m_dwDockStyle = 0;

private:
    class Window;
    void BuildMenu(QMenu* menu, std::span<const MenuItem> items);
    void UpdateMenu(QMenu* menu);
    void UpdateRecentFiles(QMenu* menu);
    static void ShowItemText(QAction* action, const CString& text);
    void LoadAccelTable(UINT id);
    BOOL OnBarCheck(UINT id, CCmdUI* ui);
    CWnd* GetControlBar(UINT id) const;

    std::unique_ptr<CView> m_view;
    CView* m_pActiveView = nullptr;
    std::vector<QAction*> m_recentActions;
    std::vector<std::pair<UINT, CWnd*>> m_bars;
};

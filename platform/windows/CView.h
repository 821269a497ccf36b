#pragma once
// What the document and the frame need of a view. A view is also a CWnd: Create makes its
// window as a child of the frame's window (which owns it), and the frame shows that window as
// its client area.
#include "platform/windows/CCmdTarget.h"

class CDocument;
class CFrameWnd;
class CWnd;

class CView : public CCmdTarget
{
public:
    CDocument* GetDocument() const { return m_document; }
    // The frame that shows this view; null until a frame hosts it.
    CFrameWnd* GetParentFrame() const { return m_frame; }

    // Makes the view's window as a child of parent's window. FALSE when it cannot be made; a
    // view that only follows a document (no window of its own) cannot be shown in a frame.
    virtual BOOL Create(CWnd*) { return FALSE; }
    // Called by the document's UpdateAllViews; hint and hintObject are the document's to define.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) = 0;
    // Called after the document was created, opened or renewed, before the frame is shown.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

private:
    friend class CDocument;
    friend class CFrameWnd;
    CDocument* m_document = nullptr;
    CFrameWnd* m_frame = nullptr;
};

#pragma once
// The framework's form view: a document view whose window is built from a dialog template,
// placed inside a frame window. The frame's own class is not needed: the view's window is a
// child of any widget, and the parent hooks below do the sensible thing for a plain one (the
// view fills it).
#include "platform/core/CSize.h"
#include "platform/windows/CView.h"
#include "platform/windows/CWnd.h"

#include <QPointer>

constexpr UINT SIZE_RESTORED = 0;

class CFormView : public CView, public CWnd
{
public:
    explicit CFormView(UINT templateId);
    ~CFormView() override;

    // Builds the window from the template as a child of parent (a window of its own without
    // one). FALSE, with the reason logged, when the template can't be built.
    BOOL Create(QWidget* parent);
    // The same inside a frame (or any window).
    BOOL Create(CWnd* parent) override { return Create(parent ? parent->GetSafeHwnd() : nullptr); }

    // Once the document is ready to show (after New and Open): the data exchange to the
    // controls, then OnUpdate(nullptr, 0, nullptr).
    void OnInitialUpdate() override;
    // Repaints the view.
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // The view's window has a new client size.
    virtual void OnSize(UINT type, int cx, int cy);

    // Lets the hosting window place the view again: its layout, or for a plain parent, the
    // view filling the parent.
    virtual void RecalcParentLayout();
    // Resizes the hosting window so that the view gets its template's size; with shrinkOnly
    // it only ever gets smaller.
    virtual void ResizeParentToFit(BOOL shrinkOnly = TRUE);
    // The template's size in pixels.
    CSize GetTotalSize() const { return m_totalSize; }

protected:
    UINT m_nIDTemplate;

private:
    // The top-level window that hosts the view; null for a view that is its own window.
    QWidget* HostWindow() const;

    CSize m_totalSize;
    QPointer<QWidget> m_window;
};

#include "platform/windows/CFormView.h"

#include "platform/windows/DialogTemplateBuilder.h"
#include "platform/windows/ResourceTable.h"

#include <QEvent>
#include <QLayout>
#include <QResizeEvent>

namespace
{
// The view's window: tells the view its size, and fills a plain parent (one without a layout
// to place it) as that parent changes size.
class FormWindow : public QWidget
{
public:
    FormWindow(CFormView* owner, QWidget* parent) : QWidget(parent), m_owner(owner)
    {
        if (parent)
            parent->installEventFilter(this);
    }

    void Release() { m_owner = nullptr; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (m_owner)
            m_owner->OnSize(SIZE_RESTORED, width(), height());
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && watched == parentWidget() &&
            !parentWidget()->layout())
            setGeometry(parentWidget()->rect());
        return false;
    }

private:
    CFormView* m_owner;
};
} // namespace

CFormView::CFormView(UINT templateId) : m_nIDTemplate(templateId) {}

CFormView::~CFormView()
{
    // The view made its window; it goes with the view, whoever holds it as a child.
    DestroyWindow();
    if (auto* window = static_cast<FormWindow*>(m_window.data())) {
        window->Release();
        delete window;
    }
}

BOOL CFormView::Create(QWidget* parent)
{
    if (GetSafeHwnd())
        return FALSE;
    const DialogTemplate* dialog = ResourceTable::FindDialogTemplate(m_nIDTemplate);
    if (!dialog) {
        qCritical("Form %u: there is no such dialog template", m_nIDTemplate);
        return FALSE;
    }
    auto window = std::make_unique<FormWindow>(this, parent);
    const CString error =
        DialogTemplateBuilder::Build(*dialog, window.get(), [this](UINT id) { OnCommand(id); });
    if (!error.IsEmpty()) {
        qCritical("%s", (const char*)error);
        return FALSE;
    }
    m_totalSize = CSize(window->width(), window->height());
    m_window = window.get();
    if (parent) {
        Attach(window.release());
        GetSafeHwnd()->show();
        RecalcParentLayout();
    } else {
        CreateOwned(std::move(window));
    }
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    OnUpdate(nullptr, 0, nullptr);
}

void CFormView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate();
}

void CFormView::OnSize(UINT, int, int) {}

QWidget* CFormView::HostWindow() const
{
    QWidget* view = GetSafeHwnd();
    return view && view->window() != view ? view->window() : nullptr;
}

void CFormView::RecalcParentLayout()
{
    QWidget* view = GetSafeHwnd();
    QWidget* parent = view ? view->parentWidget() : nullptr;
    if (!parent)
        return;
    if (QLayout* layout = parent->layout())
        layout->activate();
    else
        view->setGeometry(parent->rect());
}

void CFormView::ResizeParentToFit(BOOL shrinkOnly)
{
    QWidget* view = GetSafeHwnd();
    QWidget* frame = HostWindow();
    if (!frame)
        return;
    QSize change(m_totalSize.cx - view->width(), m_totalSize.cy - view->height());
    if (shrinkOnly)
        change = change.boundedTo(QSize(0, 0));
    if (change.isNull())
        return;
    frame->resize(frame->size() + change);
    RecalcParentLayout();
}

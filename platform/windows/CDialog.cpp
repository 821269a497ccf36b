#include "platform/windows/CDialog.h"

#include "platform/windows/DialogTemplateBuilder.h"
#include "platform/windows/ResourceTable.h"

#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace
{
// Escape and the close box come to QDialog::reject(); on this platform they are the Cancel
// command, which the dialog's own OnCancel may refuse by not ending the dialog.
class DialogWindow : public QDialog
{
public:
    explicit DialogWindow(CDialog& owner) : m_owner(owner) {}
    void reject() override { m_owner.OnCancel(); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QDialog::resizeEvent(event);
        DialogTemplateBuilder::Arrange(this);
    }

private:
    CDialog& m_owner;
};
// As on the system, the windows of a running dialog show their own cursors even while the
// program that opened it shows the wait cursor; that comes back when the dialog has closed.
void RunWithOwnCursors(QDialog& window)
{
    std::vector<QCursor> waiting;
    for (; QGuiApplication::overrideCursor(); QGuiApplication::restoreOverrideCursor())
        waiting.push_back(*QGuiApplication::overrideCursor());
    window.exec();
    for (auto it = waiting.rbegin(); it != waiting.rend(); ++it)
        QGuiApplication::setOverrideCursor(*it);
}
// Where the dialog manager puts the focus when the dialog's initialisation lets it: the first
// control, in tab order, that takes the focus with Tab.
void FocusFirstTabStop(QWidget& window)
{
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(&window) &&
            window.isAncestorOf(w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    DestroyWindow();
}

int CDialog::DoModal()
{
    if (!Create())
        return -1;
    m_nModalResult = -1;
    auto* window = static_cast<QDialog*>(GetSafeHwnd());
    if (OnInitDialog())
        FocusFirstTabStop(*window);
    if (m_nModalResult == -1) {
        PlaceOverParent();
        RunWithOwnCursors(*window);
    }
    DestroyWindow();
    return m_nModalResult;
}

bool CDialog::Create()
{
    const DialogTemplate* dialog = ResourceTable::FindDialogTemplate(m_nIDTemplate);
    if (!dialog) {
        qCritical("Dialog %u: there is no such dialog template", m_nIDTemplate);
        return false;
    }
    auto window = std::make_unique<DialogWindow>(*this);
    const CString error =
        DialogTemplateBuilder::Build(*dialog, window.get(), [this](UINT id) { OnCommand(id); });
    if (!error.IsEmpty()) {
        qCritical("%s", (const char*)error);
        return false;
    }
    // A resizable dialog is never smaller than its template's layout.
    if (dialog->style & WS_THICKFRAME) {
        window->setMinimumSize(window->size());
        window->setSizeGripEnabled(true);
    } else {
        window->setFixedSize(window->size());
    }
    window->setModal(true);
    CreateOwned(std::move(window));
    return true;
}

// The dialog has no Qt parent (this CDialog owns it), so it is tied to its parent window as a
// transient and centred over it by hand, unless it has placed itself.
void CDialog::PlaceOverParent()
{
    QWidget* window = GetSafeHwnd();
    QWidget* parent = m_pParentWnd && m_pParentWnd->GetSafeHwnd()
                          ? m_pParentWnd->GetSafeHwnd()->window()
                          : nullptr;
    if (parent && parent->windowHandle()) {
        window->winId();
        window->windowHandle()->setTransientParent(parent->windowHandle());
    }
    // A dialog that placed itself while it initialised (a restored placement) stays there.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (window->testAttribute(Qt::WA_Moved) || !screen)
        return;
    const QRect area = parent ? parent->frameGeometry() : screen->availableGeometry();
    QRect placed(area.center() - window->rect().center(), window->frameGeometry().size());
    // A dialog taller or wider than its parent stays on the screen, its title bar in reach.
    const QRect work = screen->availableGeometry();
    placed.moveLeft(std::max(work.left(), std::min(placed.left(), work.right() - placed.width())));
    placed.moveTop(std::max(work.top(), std::min(placed.top(), work.bottom() - placed.height())));
    window->move(placed.topLeft());
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (auto* window = qobject_cast<QDialog*>(GetSafeHwnd()))
        window->done(result);
}

BOOL CDialog::OnCommand(UINT id)
{
    switch (id) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void CDialog::SetDefID(UINT id)
{
    if (!GetSafeHwnd())
        return;
    for (auto* button : GetSafeHwnd()->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        button->setDefault(DialogTemplateBuilder::ControlId(button) == int(id));
}

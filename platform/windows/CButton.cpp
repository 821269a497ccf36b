#include "platform/windows/CButton.h"

#include "platform/gdi/SysColor.h"
#include "platform/windows/DialogTemplateBuilder.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcutEvent>

namespace
{
constexpr const char* kOwnerDrawName = "reelmix.ownerDraw";

// Watches an owner-drawn push button: paints it through its CButton's DrawItem, and clicks it
// on its mnemonic letter typed without Alt, which reaches the dialog when the focused control
// does not take letters itself.
class OwnerDraw : public QObject
{
public:
    explicit OwnerDraw(QPushButton* button) : QObject(button), m_button(button)
    {
        setObjectName(kOwnerDrawName);
        button->installEventFilter(this);
        if (QWidget* parent = button->parentWidget())
            parent->installEventFilter(this);
        // Enter clicks the focused button in a form as in a dialog.
        button->setAutoDefault(true);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_button && event->type() == QEvent::Paint) {
            Paint();
            return true;
        }
        // Its Alt mnemonic clicks it and leaves the focus where it is, as the dialog manager
        // does with push buttons, so that keys typed next go where they went before.
        if (watched == m_button && event->type() == QEvent::Shortcut) {
            m_button->click();
            return true;
        }
        if (watched == m_button->parentWidget() && event->type() == QEvent::KeyPress)
            return ClickOnMnemonic(*static_cast<QKeyEvent*>(event));
        return false;
    }

private:
    UINT State() const
    {
        UINT state = 0;
        if (m_button->isDown())
            state |= ODS_SELECTED;
        if (m_button->hasFocus())
            state |= ODS_FOCUS;
        if (!m_button->isEnabled())
            state |= ODS_DISABLED;
        if (m_button->isDefault())
            state |= ODS_DEFAULT;
        return state;
    }

    void Paint()
    {
        auto* owner = dynamic_cast<CButton*>(CWnd::FromHandlePermanent(m_button));
        if (!owner)
            return;
        QPainter painter(m_button);
        CDC dc(&painter);
        // What the control's colour request gives a button on the system.
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
        const QRect rect = m_button->rect();
        DRAWITEMSTRUCT item{ODT_BUTTON, UINT(DialogTemplateBuilder::ControlId(m_button)),
                            0,          ODA_DRAWENTIRE,
                            State(),    m_button,
                            &dc,        CRect(0, 0, rect.width(), rect.height()),
                            0};
        const UINT changed = item.itemState ^ m_lastState;
        if (changed & ODS_FOCUS) {
            item.itemAction = ODA_FOCUS;
            owner->DrawItem(&item);
        }
        item.itemAction = changed & ODS_SELECTED ? ODA_SELECT : ODA_DRAWENTIRE;
        owner->DrawItem(&item);
        m_lastState = item.itemState;
    }

    bool ClickOnMnemonic(const QKeyEvent& key)
    {
        if (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier) || key.text().size() != 1 ||
            !m_button->isVisible() || !m_button->isEnabled())
            return false;
        const QString text = m_button->text();
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != u'&')
                continue;
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            if (text[i + 1].toLower() != key.text()[0].toLower())
                return false;
            m_button->click();
            return true;
        }
        return false;
    }

    QPushButton* m_button;
    UINT m_lastState = 0;
};

// Clicks a check box on its Alt mnemonic at once, with the focus on it, as the dialog manager
// does: Qt's own animated click lands about 100 ms later, after an Enter typed straight after
// the mnemonic has already closed the dialog without the change.
class MnemonicClick : public QObject
{
public:
    explicit MnemonicClick(QAbstractButton* button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        // An ambiguous mnemonic only moves the focus, which Qt does well.
        if (event->type() != QEvent::Shortcut || static_cast<QShortcutEvent*>(event)->isAmbiguous())
            return false;
        m_button->setFocus(Qt::ShortcutFocusReason);
        m_button->click();
        return true;
    }

private:
    QAbstractButton* m_button;
};

QObject* OwnerDrawOf(const QWidget* widget)
{
    return widget ? widget->findChild<QObject*>(kOwnerDrawName, Qt::FindDirectChildrenOnly)
                  : nullptr;
}
} // namespace

int CButton::GetCheck() const
{
    const auto* box = qobject_cast<const QCheckBox*>(GetSafeHwnd());
    return box && box->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check)
{
    if (auto* box = qobject_cast<QCheckBox*>(GetSafeHwnd()))
        box->setChecked(check == BST_CHECKED);
}

UINT CButton::GetButtonStyle() const
{
    if (qobject_cast<const QCheckBox*>(GetSafeHwnd()))
        return BS_AUTOCHECKBOX;
    if (OwnerDrawOf(GetSafeHwnd()))
        return BS_OWNERDRAW;
    const auto* push = qobject_cast<const QPushButton*>(GetSafeHwnd());
    return push && push->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void CButton::SetButtonStyle(UINT style, BOOL redraw)
{
    auto* push = qobject_cast<QPushButton*>(GetSafeHwnd());
    if (!push)
        return;
    switch (style & BS_TYPEMASK) {
    case BS_OWNERDRAW:
        if (!OwnerDrawOf(push))
            new OwnerDraw(push);
        break;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        delete OwnerDrawOf(push);
        push->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        break;
    default:
        return;
    }
    if (redraw)
        push->update();
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

QWidget* CButton::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    const QString text = QString::fromUtf8(item.text);
    const DWORD type = item.style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) {
        auto* box = new QCheckBox(text, parent);
        box->setGeometry(rect);
        new MnemonicClick(box);
        return box;
    }
    auto* button = new QPushButton(text, parent);
    button->setGeometry(rect);
    button->setDefault(type == BS_DEFPUSHBUTTON);
    button->setFocusPolicy(item.style & WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
    if (type == BS_OWNERDRAW)
        new OwnerDraw(button);
    return button;
}

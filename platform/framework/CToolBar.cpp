#include "platform/framework/CToolBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/FrameResourceTable.h"
#include "platform/windows/ResourceTable.h"

#include <QIcon>
#include <QToolBar>

namespace
{
QString SectionOf(UINT id, int section)
{
    const char* text = ResourceTable::FindString(id);
    return text ? QString::fromUtf8(text).section('\n', section, section) : QString();
}

Qt::ToolBarAreas AreasOf(DWORD style)
{
    Qt::ToolBarAreas areas;
    if (style & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (style & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    if (style & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (style & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    return areas;
}
} // namespace

BOOL CToolBar::Create(CFrameWnd* parent, DWORD style, UINT id)
{
    if (!parent || !parent->GetSafeHwnd() || GetSafeHwnd())
        return FALSE;
    auto* bar = new QToolBar(parent->GetSafeHwnd());
    bar->setObjectName(QStringLiteral("toolbar%1").arg(id));
    bar->setMovable(false);
    bar->setFloatable(false);
    if (!Attach(bar))
        return FALSE;
    m_pFrame = parent;
    parent->AddControlBar(id, this);
    SetBarStyle(style);
    bar->setHidden(!(style & WS_VISIBLE));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    auto* bar = qobject_cast<QToolBar*>(GetSafeHwnd());
    const ToolBarTemplate* resource = FrameResourceTable::FindToolBar(id);
    if (!bar || !resource)
        return FALSE;
    bar->setIconSize(QSize(resource->buttonWidth, resource->buttonHeight));
    for (const ToolBarButton& button : resource->buttons) {
        if (button.id == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        QAction* action =
            bar->addAction(QIcon(QString::fromUtf8(button.icon)), SectionOf(button.id, 1));
        const UINT command = button.id;
        action->setData(command);
        QObject::connect(action, &QAction::triggered, [this, command] {
            if (m_pFrame)
                m_pFrame->OnCommand(command);
        });
    }
    ApplyTexts();
    return TRUE;
}

void CToolBar::SetBarStyle(DWORD style)
{
    m_dwStyle = style;
    ApplyTexts();
    if (auto* bar = qobject_cast<QToolBar*>(GetSafeHwnd()))
        bar->setFloatable(style & CBRS_SIZE_DYNAMIC);
}

// An empty tip keeps Qt from showing the button's text as one.
void CToolBar::ApplyTexts()
{
    auto* bar = qobject_cast<QToolBar*>(GetSafeHwnd());
    if (!bar)
        return;
    for (QAction* action : bar->actions()) {
        const UINT id = action->data().toUInt();
        if (id == 0)
            continue;
        action->setToolTip((m_dwStyle & CBRS_TOOLTIPS) ? SectionOf(id, 1) : QStringLiteral(" "));
        action->setStatusTip((m_dwStyle & CBRS_FLYBY) ? SectionOf(id, 0) : QString());
    }
}

void CToolBar::EnableDocking(DWORD style)
{
    m_dwDockStyle = style & CBRS_ALIGN_ANY;
    if (auto* bar = qobject_cast<QToolBar*>(GetSafeHwnd())) {
        bar->setAllowedAreas(AreasOf(m_dwDockStyle));
        bar->setMovable(m_dwDockStyle != 0);
    }
}

QAction* CToolBar::GetButton(UINT id) const
{
    auto* bar = qobject_cast<QToolBar*>(GetSafeHwnd());
    if (!bar)
        return nullptr;
    for (QAction* action : bar->actions()) {
        if (action->data().toUInt() == id && id != 0)
            return action;
    }
    return nullptr;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target)
{
    auto* bar = qobject_cast<QToolBar*>(GetSafeHwnd());
    if (!bar || !target)
        return;
    for (QAction* action : bar->actions()) {
        const UINT id = action->data().toUInt();
        if (id == 0)
            continue;
        CCmdUI ui(id);
        target->OnCmdMsg(id, &ui);
        action->setEnabled(ui.m_bEnabled);
    }
}

#include "platform/framework/CStatusBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/windows/ResourceTable.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

BOOL CStatusBar::Create(CFrameWnd* parent, DWORD style, UINT id)
{
    auto* window = parent ? qobject_cast<QMainWindow*>(parent->GetSafeHwnd()) : nullptr;
    if (!window || GetSafeHwnd())
        return FALSE;
    auto* bar = new QStatusBar(window);
    if (!Attach(bar)) {
        delete bar;
        return FALSE;
    }
    window->setStatusBar(bar);
    parent->AddControlBar(id, this);
    bar->setHidden(!(style & WS_VISIBLE));
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    auto* bar = qobject_cast<QStatusBar*>(GetSafeHwnd());
    if (!bar || !ids || count <= 0 || !m_panes.empty())
        return FALSE;
    for (int i = 0; i < count; ++i) {
        auto* label = new QLabel(bar);
        if (ids[i] == ID_SEPARATOR) {
            label->setText(QString::fromUtf8(ResourceTable::FindString(AFX_IDS_IDLEMESSAGE)));
            bar->addWidget(label, 1);
        } else {
            const char* text = ResourceTable::FindString(ids[i]);
            if (!text)
                return FALSE;
            label->setText(QString::fromUtf8(text));
            label->setAlignment(Qt::AlignCenter);
            label->setFrameShape(QFrame::StyledPanel);
            label->setFixedWidth(label->sizeHint().width() +
                                 label->fontMetrics().averageCharWidth());
            bar->addPermanentWidget(label);
        }
        m_panes.push_back(Pane{ids[i], label});
    }
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL update)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    QLabel* label = m_panes[std::size_t(index)].label;
    label->setText(QString::fromUtf8(text ? text : ""));
    if (update)
        label->repaint();
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || index >= GetCount())
        return CString();
    return CString(m_panes[std::size_t(index)].label->text().toStdString());
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[std::size_t(index)].id : 0;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target)
{
    for (const Pane& pane : m_panes) {
        if (pane.id == ID_SEPARATOR || !target)
            continue;
        CCmdUI ui(pane.id);
        target->OnCmdMsg(pane.id, &ui);
        // A pane keeps its width and blanks its text while its state is off.
        pane.label->setText(ui.m_bEnabled ? QString::fromUtf8(ResourceTable::FindString(pane.id))
                                          : QString());
    }
}

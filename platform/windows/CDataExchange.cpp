#include "platform/windows/CDataExchange.h"

#include "platform/windows/CWnd.h"

#include <QCheckBox>

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.GetSafeHwnd() && !control.SubclassDlgItem(UINT(id), dx->m_pDlgWnd))
        qWarning("Data exchange: window has no control %d to attach", id);
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    CWnd* item = dx->m_pDlgWnd->GetDlgItem(id);
    if (!item)
        return;
    if (dx->m_bSaveAndValidate)
        item->GetWindowText(value);
    else
        item->SetWindowText(value);
}

void DDX_Check(CDataExchange* dx, int id, BOOL& value)
{
    CWnd* item = dx->m_pDlgWnd->GetDlgItem(id);
    auto* box = item ? qobject_cast<QCheckBox*>(item->GetSafeHwnd()) : nullptr;
    if (!box)
        return;
    if (dx->m_bSaveAndValidate)
        value = box->isChecked() ? TRUE : FALSE;
    else
        box->setChecked(value != FALSE);
}

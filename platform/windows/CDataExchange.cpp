#include "platform/windows/CDataExchange.h"

#include "platform/windows/CWnd.h"

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

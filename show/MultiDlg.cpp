#include "show/MultiDlg.h"

#include "platform/windows/CDataExchange.h"
#include "res/DialogTemplates.h"

MultiDlg::MultiDlg(CWnd* parent) : CDialog(IDD_MULTI_LOAD, parent) {}

BOOL MultiDlg::OnInitDialog()
{
    CDataExchange dx(this, FALSE);
    DoDataExchange(&dx);
    return TRUE;
}

void MultiDlg::OnOK()
{
    CDataExchange dx(this, TRUE);
    DoDataExchange(&dx);
    CDialog::OnOK();
}

void MultiDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, IDC_ONLY_ADD_NEW, m_bOnlyAddNew);
    DDX_Check(dx, IDC_SEARCH_SUBDIRS, m_bSearchSubDirs);
}

#include "show/MultiDlg.h"

#include "platform/windows/CDataExchange.h"
#include "res/DialogTemplates.h"

#include <QWidget>
#include <algorithm>

MultiDlg::MultiDlg(CWnd* parent) : CDialog(IDD_MULTI_LOAD, parent) {}

BOOL MultiDlg::OnInitDialog()
{
    CDataExchange dx(this, FALSE);
    DoDataExchange(&dx);
    FitCheckBoxes();
    return TRUE;
}

// The template's check boxes are measured for a narrower font than most desktops': each is
// widened to its caption, and where the wider one then reaches into the buttons' margin, the
// buttons and the dialog move over by as much.
void MultiDlg::FitCheckBoxes()
{
    CRect margin(0, 0, 7, 0);
    MapDialogRect(&margin);
    QWidget* ok = GetDlgItem(IDOK)->GetSafeHwnd();
    int overlap = 0;
    for (const int id : {IDC_SEARCH_SUBDIRS, IDC_ONLY_ADD_NEW}) {
        QWidget* box = GetDlgItem(id)->GetSafeHwnd();
        box->resize(box->size().expandedTo(box->sizeHint()));
        overlap = std::max(overlap, box->x() + box->width() + margin.Width() - ok->x());
    }
    if (overlap <= 0)
        return;
    for (const int id : {IDOK, IDCANCEL}) {
        QWidget* button = GetDlgItem(id)->GetSafeHwnd();
        button->move(button->x() + overlap, button->y());
    }
    QWidget* window = GetSafeHwnd();
    window->setFixedSize(window->width() + overlap, window->height());
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

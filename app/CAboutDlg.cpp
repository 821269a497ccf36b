#include "app/CAboutDlg.h"

#include "platform/framework/CWinApp.h"
#include "res/DialogTemplates.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr) {}

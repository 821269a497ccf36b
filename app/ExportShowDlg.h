#pragma once
// Export Show's format chooser: the formats with the programs that read them, the last one
// chosen selected; Enter, a double click or Export takes the selected one.
#include "platform/windows/CDialog.h"
#include "platform/windows/CListCtrl.h"

class ListFormat;

class ExportShowDlg : public CDialog
{
public:
    static constexpr int IDC_FORMATS = 1040;
    // Where the last format chosen is kept, under HKEY_CURRENT_USER, value "Format".
    static constexpr const char* s_registryKey = "Software\\Brantwell\\Reelmix\\ExportShowDlg";

    explicit ExportShowDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;

    // The format chosen on OK.
    const ListFormat* m_format = nullptr;

private:
    void DoDataExchange(CDataExchange* dx) override;

    CListCtrl m_formats;
};

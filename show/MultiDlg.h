#pragma once
// The options of a Multi Load: search the folders below too, and add only files that are not in
// the show yet.
#include "platform/windows/CDialog.h"

class CDataExchange;

class MultiDlg : public CDialog
{
public:
    static constexpr int IDC_SEARCH_SUBDIRS = 1030;
    static constexpr int IDC_ONLY_ADD_NEW = 1031;

    explicit MultiDlg(CWnd* parent = nullptr);

    // The dialog base has no data exchange of its own: these move the members to the check
    // boxes when the dialog opens and back on OK.
    BOOL OnInitDialog() override;
    void OnOK() override;

    BOOL m_bOnlyAddNew = FALSE;
    BOOL m_bSearchSubDirs = FALSE;

private:
    void DoDataExchange(CDataExchange* dx) override;
    void FitCheckBoxes();
};

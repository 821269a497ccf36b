#include "app/ExportShowDlg.h"

#include "platform/windows/CDataExchange.h"
#include "render/formats/ListFormat.h"
#include "render/formats/ListFormats.h"
#include "res/DialogTemplates.h"
#include "util/MyRegistry.h"

ExportShowDlg::ExportShowDlg(CWnd* parent) : CDialog(IDD_EXPORT_SHOW, parent) {}

void ExportShowDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_FORMATS, m_formats);
}

BOOL ExportShowDlg::OnInitDialog()
{
    CDataExchange dx(this, FALSE);
    DoDataExchange(&dx);
    // The columns share the list's width in the template, less room for a scroll bar.
    CRect columns(0, 0, 128, 0);
    MapDialogRect(&columns);
    m_formats.SetExtendedStyle(m_formats.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_formats.InsertColumn(0, "Format", LVCFMT_LEFT, columns.Width());
    columns = CRect(0, 0, 126, 0);
    MapDialogRect(&columns);
    m_formats.InsertColumn(1, "Read by", LVCFMT_LEFT, columns.Width());
    CString last;
    MyRegistry(HKEY_CURRENT_USER, s_registryKey, false).ReadValueString("Format", last);
    int chosen = 0;
    const auto& formats = ListFormats::Exporters();
    for (int row = 0; row < int(formats.size()); ++row) {
        const CString name =
            CString(formats[row]->Name()) + " (*." + formats[row]->Extension() + ")";
        m_formats.InsertItem(row, name);
        m_formats.SetItemText(row, 1, formats[row]->ReadBy());
        if (last == formats[row]->Key())
            chosen = row;
    }
    m_formats.SetItemState(chosen, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_formats.EnsureVisible(chosen, FALSE);
    m_formats.SetFocus();
    return FALSE;
}

BOOL ExportShowDlg::OnNotify(WPARAM id, LPARAM header, LRESULT* result)
{
    const auto* notification = reinterpret_cast<const NMHDR*>(header);
    if (id == IDC_FORMATS && (notification->code == NM_DBLCLK || notification->code == NM_RETURN)) {
        OnOK();
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(id, header, result);
}

void ExportShowDlg::OnOK()
{
    const int row = m_formats.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    m_format = ListFormats::Exporters()[std::size_t(row)];
    MyRegistry(HKEY_CURRENT_USER, s_registryKey, true).SaveValueString("Format", m_format->Key());
    CDialog::OnOK();
}

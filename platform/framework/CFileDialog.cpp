#include "platform/framework/CFileDialog.h"

#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/ResourceTable.h"

#include <QApplication>
#include <QFileDialog>
#include <cstring>
#include <unistd.h>

namespace
{
CFileDialog::Hook& TheHook()
{
    static CFileDialog::Hook hook;
    return hook;
}

// "Name (*.a;*.b)|*.a;*.b|...||" as Qt's "Name (*.a *.b)" entries. The description's own
// pattern list is replaced by the patterns Qt really matches with.
QStringList QtFilters(const CString& filter)
{
    const QStringList parts = QString::fromUtf8((const char*)filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        QString name = parts[i];
        if (const int open = name.lastIndexOf(" ("); open > 0 && name.endsWith(')'))
            name.truncate(open);
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts))
            patterns << (pattern == "*.*" ? QStringLiteral("*") : pattern);
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(' '));
    }
    return filters;
}

DWORD g_lastDialogError = 0;

int LastSeparator(const CString& path)
{
    return path.ReverseFind('\\');
}
} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags,
                         LPCTSTR filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog), m_strDefExt(defExt), m_strInitialName(fileName),
      m_strFilter(filter), m_pParentWnd(parent)
{
    m_ofn = OPENFILENAME{flags, m_szFileName, DWORD(sizeof m_szFileName), 0, nullptr};
    std::strncpy(m_szFileName, m_strInitialName, sizeof m_szFileName - 1);
}

CFileDialog::Hook CFileDialog::SetHook(Hook hook)
{
    Hook previous = std::move(TheHook());
    TheHook() = std::move(hook);
    return previous;
}

CString CFileDialog::GetTitle() const
{
    if (m_ofn.lpstrTitle && *m_ofn.lpstrTitle)
        return m_ofn.lpstrTitle;
    return ResourceTable::FindString(m_bOpenFileDialog ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE);
}

DWORD CommDlgExtendedError()
{
    return g_lastDialogError;
}

int CFileDialog::DoModal()
{
    g_lastDialogError = 0;
    std::vector<CString> chosen;
    const int answer = TheHook() ? TheHook()(*this, chosen) : AskQt(chosen);
    if (answer != IDOK || chosen.empty())
        return IDCANCEL;
    if (!FillBuffer(chosen)) {
        g_lastDialogError = FNERR_BUFFERTOOSMALL;
        return IDCANCEL;
    }
    if (!(m_ofn.Flags & OFN_NOCHANGEDIR)) {
        const CString folder = chosen.front().Left(std::max(1, LastSeparator(chosen.front())));
        if (::chdir(ToHostPath(folder).c_str()) != 0)
            qWarning("Could not change to the folder of the chosen file");
    }
    return IDOK;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_ofn.lpstrFile, int(strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile)));
}

int CFileDialog::AskQt(std::vector<CString>& chosen) const
{
    QWidget* parent = m_pParentWnd && m_pParentWnd->GetSafeHwnd()
                          ? m_pParentWnd->GetSafeHwnd()->window()
                          : QApplication::activeWindow();
    QFileDialog dialog(parent, QString::fromUtf8((const char*)GetTitle()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(QtFilters(m_strFilter));
    if (m_bOpenFileDialog) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((m_ofn.Flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                : QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_ofn.Flags & OFN_OVERWRITEPROMPT));
    }
    if (!m_strDefExt.IsEmpty())
        dialog.setDefaultSuffix(QString::fromUtf8((const char*)m_strDefExt));
    if (*m_ofn.lpstrFile)
        dialog.selectFile(QString::fromStdString(ToHostPath(GetPathName())));
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    for (const QString& file : dialog.selectedFiles()) {
        CString path;
        if (!FromHostPath(file.toStdString(), path)) {
            AfxMessageBox(CString(file.toStdString()) + "\nThis file name cannot be used.",
                          MB_ICONEXCLAMATION);
            return IDCANCEL;
        }
        chosen.push_back(path);
    }
    return IDOK;
}

BOOL CFileDialog::FillBuffer(const std::vector<CString>& chosen)
{
    std::string buffer;
    WORD offset = 0;
    if (chosen.size() == 1 || !(m_ofn.Flags & OFN_ALLOWMULTISELECT)) {
        // The empty string after the path ends a caller's walk over the names.
        buffer = chosen.front().Str();
        offset = WORD(LastSeparator(chosen.front()) + 1);
        buffer += std::string(2, '\0');
    } else {
        // All names share the folder of the first one, as a dialog shows one folder.
        const int cut = LastSeparator(chosen.front());
        buffer = chosen.front().Left(std::max(1, cut)).Str();
        buffer += '\0';
        offset = WORD(buffer.size());
        for (const CString& path : chosen) {
            buffer += path.Mid(LastSeparator(path) + 1).Str();
            buffer += '\0';
        }
        buffer += '\0';
    }
    if (buffer.size() > m_ofn.nMaxFile || buffer.size() > 0xFFFF)
        return FALSE;
    std::memcpy(m_ofn.lpstrFile, buffer.data(), buffer.size());
    m_ofn.nFileOffset = offset;
    return TRUE;
}

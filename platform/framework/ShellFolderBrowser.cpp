#include "platform/framework/ShellFolderBrowser.h"

#include "platform/files/HostPath.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CWnd.h"

#include <QApplication>
#include <QFileDialog>
#include <cstdlib>
#include <cstring>

struct ITEMIDLIST {
    char path[1]; // as long as the path needs, terminated
};

namespace
{
FolderBrowserHook& TheHook()
{
    static FolderBrowserHook hook;
    return hook;
}

bool AskQt(const BROWSEINFOA& info, CString& chosen)
{
    QWidget* parent = info.hwndOwner && info.hwndOwner->GetSafeHwnd()
                          ? info.hwndOwner->GetSafeHwnd()->window()
                          : QApplication::activeWindow();
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QString::fromUtf8(info.lpszTitle ? info.lpszTitle : ""), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return false;
    if (FromHostPath(folder.toStdString(), chosen))
        return true;
    AfxMessageBox(CString(folder.toStdString()) + "\nThis folder name cannot be used.",
                  MB_ICONEXCLAMATION);
    return false;
}
} // namespace

FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook)
{
    FolderBrowserHook previous = std::move(TheHook());
    TheHook() = std::move(hook);
    return previous;
}

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info)
{
    CString chosen;
    if (!info || !(TheHook() ? TheHook()(*info, chosen) : AskQt(*info, chosen)))
        return nullptr;
    if (info->pszDisplayName) {
        const CString name = chosen.Mid(chosen.ReverseFind('\\') + 1);
        std::strncpy(info->pszDisplayName, name, MAX_PATH - 1);
        info->pszDisplayName[MAX_PATH - 1] = '\0';
    }
    auto* list = static_cast<LPITEMIDLIST>(std::malloc(std::size_t(chosen.GetLength()) + 1));
    if (list)
        std::memcpy(list->path, (const char*)chosen, std::size_t(chosen.GetLength()) + 1);
    return list;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path)
{
    if (!list || !path)
        return FALSE;
    const std::size_t length = std::strlen(list->path);
    if (length >= MAX_PATH) {
        path[0] = '\0';
        return FALSE;
    }
    std::memcpy(path, list->path, length + 1);
    return TRUE;
}

void CoTaskMemFree(LPVOID memory)
{
    std::free(memory);
}

#pragma once
// The framework's file-open and file-save dialog. The chosen names come back in the caller's
// buffer m_ofn.lpstrFile (by default one of the dialog's own) as the platform returns them:
// one file as its whole path, then an empty string, with nFileOffset at its name; several
// files (only with OFN_ALLOWMULTISELECT) as the directory, then each name, each terminated,
// then an empty string, with nFileOffset at the first name. A selection that does not fit the
// buffer fails the dialog (IDCANCEL). Unless OFN_NOCHANGEDIR is given, an accepted dialog leaves
// the process in the folder of the selection, as the platform's dialog does.
//
// Where the dialog is shown is up to the installed hook: without one it is a Qt file dialog;
// tests install one that answers for the user.
#include "platform/core/CString.h"
#include "platform/windows/AfxMessageBox.h"

#include <functional>
#include <vector>

class CWnd;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// Why the last file dialog failed: 0 (the user cancelled) or FNERR_BUFFERTOOSMALL (the names
// chosen did not fit the caller's buffer).
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
DWORD CommDlgExtendedError();

struct OPENFILENAME {
    DWORD Flags;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    WORD nFileOffset;
    LPCSTR lpstrTitle;
};

class CFileDialog
{
public:
    // filter: pairs of a description and its patterns, "|"-separated and ended with "||"
    // ("Reelmix Files (*.rlx)|*.rlx|All Files (*.*)|*.*||"); patterns separated by ";".
    explicit CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR filter = nullptr, CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose, IDCANCEL when not (or the choice did not fit the buffer).
    virtual int DoModal();
    // The text of the buffer up to its first terminator: the path of a single file chosen.
    CString GetPathName() const;

    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    const CString& GetFilter() const { return m_strFilter; }
    const CString& GetDefExt() const { return m_strDefExt; }
    const CString& GetInitialName() const { return m_strInitialName; }
    // The caption: the title given in m_ofn, else "Open" or "Save As".
    CString GetTitle() const;

    // Answers for the user: IDOK with the chosen program paths in chosen, or IDCANCEL.
    using Hook = std::function<int(const CFileDialog& dialog, std::vector<CString>& chosen)>;
    // Installs hook (an empty one restores the Qt dialog) and returns the previous one.
    static Hook SetHook(Hook hook);

    OPENFILENAME m_ofn;

private:
    int AskQt(std::vector<CString>& chosen) const;
    BOOL FillBuffer(const std::vector<CString>& chosen);

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strInitialName;
    CString m_strFilter;
    CWnd* m_pParentWnd;
    char m_szFileName[MAX_PATH] = {};
};

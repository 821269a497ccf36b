#pragma once
// The shell's folder browser: the user picks a folder, which comes back as an item list that
// SHGetPathFromIDListA turns into a program path; the caller frees the list with CoTaskMemFree.
// Where the browser is shown is up to the installed hook: without one it is Qt's folder dialog;
// tests install one that answers for the user.
#include "platform/core/CString.h"

#include <functional>

class CWnd;

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

struct BROWSEINFOA {
    CWnd* hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName; // MAX_PATH bytes: the chosen folder's own name
    LPCSTR lpszTitle;
    UINT ulFlags;
    void* lpfn;
    LPARAM lParam;
    int iImage;
};

// The chosen folder, or null when the user cancelled.
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info);
// The folder's program path into path (MAX_PATH bytes); FALSE when it does not fit.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
void CoTaskMemFree(LPVOID memory);

// Answers for the user: true with the chosen folder's program path, false for Cancel.
using FolderBrowserHook = std::function<bool(const BROWSEINFOA& info, CString& chosen)>;
// Installs hook (an empty one restores the Qt dialog) and returns the previous one.
FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook);

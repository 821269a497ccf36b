#pragma once
// The framework's document: data that views show, a modified flag, and loading and saving
// through Serialize. Failures are reported to the user through AfxMessageBox in the framework's
// words; a failed load leaves the document empty (or as it was, when CheckFileStart refuses the
// file), a failed save leaves the previous file intact.
//
// The user's side: Save and Save As (a file dialog filtered by the document's template), the
// title taken from the file name, and the question before unsaved changes are dropped.
#include "platform/core/CString.h"
#include "platform/windows/CCmdTarget.h"

#include <vector>

class CArchive;
class CDocTemplate;
class CException;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget
{
public:
    CDocument() = default;
    ~CDocument() override;

    void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified; }
    BOOL IsModified() const { return m_modified; }

    const CString& GetPathName() const { return m_pathName; }
    // Takes path as the document's file: the title becomes its file name, and the file goes to
    // the top of the application's recent-file list.
    virtual void SetPathName(const CString& path, BOOL addToMRU = TRUE);
    const CString& GetTitle() const { return m_title; }
    // Also retitles the frames that show the document.
    virtual void SetTitle(const CString& title);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const char* pathName);
    virtual BOOL OnSaveDocument(const char* pathName);
    virtual void OnCloseDocument();

    // Asks "Save changes to <title>?" when the document is modified; Yes saves. FALSE when the
    // user cancelled or the save failed: the changes must not be dropped.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // Saves to pathName, or to a file the user picks when it is null. With replace the
    // document takes the new file as its own.
    virtual BOOL DoSave(LPCTSTR pathName, BOOL replace = TRUE);
    // Save: to the document's file, or through Save As when it has none.
    virtual BOOL DoFileSave();
    void OnFileSave() { DoFileSave(); }
    void OnFileSaveAs() { DoSave(nullptr); }
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

protected:
    virtual void ReportSaveLoadException(const char* pathName, const CException& error,
                                         bool saving);
    // Reads the start of a file about to be opened, before the document lets go of what it
    // holds, and throws the archive's exception for a file it can already tell is damaged, so
    // that such a file leaves the open document as it was. Serialize then reads the file from
    // its start. By default nothing is checked.
    virtual void CheckFileStart(CArchive& archive);

private:
    friend class CDocTemplate;
    void WriteTo(const char* pathName);
    // The file name the Save As dialog proposes: the title, with the template's extension.
    CString ProposedFileName() const;

    CDocTemplate* m_pDocTemplate = nullptr;

    std::vector<CView*> m_views;
    CString m_pathName;
    CString m_title;
    BOOL m_modified = FALSE;
};

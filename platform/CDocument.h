#pragma once
// The framework's document: data that views show, a modified flag, and loading and saving
// through Serialize. Failures are reported to the user through AfxMessageBox in the framework's
// words; a failed load leaves the document empty, a failed save leaves the previous file intact.
#include "platform/CObject.h"
#include "platform/CString.h"

#include <vector>

class CException;
class CView;

class CDocument : public CObject {
public:
    CDocument() = default;
    ~CDocument() override;

    void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified; }
    BOOL IsModified() const { return m_modified; }

    const CString& GetPathName() const { return m_pathName; }
    void SetPathName(const CString& path) { m_pathName = path; }
    const CString& GetTitle() const { return m_title; }
    void SetTitle(const CString& title) { m_title = title; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const char* pathName);
    virtual BOOL OnSaveDocument(const char* pathName);
    virtual void OnCloseDocument();

protected:
    virtual void ReportSaveLoadException(const char* pathName, const CException& error,
                                         bool saving);

private:
    void WriteTo(const char* pathName);

    std::vector<CView*> m_views;
    CString m_pathName;
    CString m_title;
    BOOL m_modified = FALSE;
};

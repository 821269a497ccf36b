#pragma once
// The framework's document template: the resource id whose seven-field string names the
// document type (window title, default document name, new-file type name, file-dialog filter
// name, filter extension, registry type id and name), and the classes of the document, its
// frame and its view, given as factories: RUNTIME_CLASS(CReelmixDoc).
#include "platform/core/CString.h"
#include "platform/windows/CCmdTarget.h"

#include <functional>
#include <memory>

class CDocument;
class CFrameWnd;
class CView;

#define RUNTIME_CLASS(class_name) ([] { return std::make_unique<class_name>(); })

class CDocTemplate : public CCmdTarget
{
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    using DocumentClass = std::function<std::unique_ptr<CDocument>()>;
    using FrameClass = std::function<std::unique_ptr<CFrameWnd>()>;
    using ViewClass = std::function<std::unique_ptr<CView>()>;

    CDocTemplate(UINT nIDResource, DocumentClass document, FrameClass frame, ViewClass view);
    ~CDocTemplate() override;

    UINT GetResourceID() const { return m_nIDResource; }
    // FALSE when the string has no such field; an empty field is TRUE with an empty value.
    BOOL GetDocString(CString& value, DocStringIndex index) const;
    // "Reelmix Files (*.rlx)|*.rlx|" for the template's filter, empty without one.
    CString GetFilter() const;

    // With a null path a new document, else the file opened. Null when that failed (and was
    // reported), or when the open document could not be let go.
    virtual CDocument* OpenDocumentFile(LPCTSTR pathName, BOOL makeVisible = TRUE) = 0;
    // Whether the last OpenDocumentFile ended because the open document could not be let go
    // (the user cancelled the question to save it, or its save failed), not because of the file.
    bool OpenWasRefused() const { return m_openRefused; }
    virtual CDocument* GetOnlyDocument() const = 0;
    // Destroys the documents' frames and closes the documents.
    virtual void CloseAllDocuments(BOOL endSession) = 0;
    // Gives the document its default title ("Untitled" when the template names none).
    void SetDefaultTitle(CDocument* document) const;

protected:
    std::unique_ptr<CDocument> CreateNewDocument();
    std::unique_ptr<CFrameWnd> CreateNewFrame(CDocument* document);

    UINT m_nIDResource;
    CString m_strDocStrings;
    bool m_openRefused = false;

private:
    DocumentClass m_documentClass;
    FrameClass m_frameClass;
    ViewClass m_viewClass;
};

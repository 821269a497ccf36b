#pragma once
// The template of a single-document program: one document and one frame, made by the first
// New or Open and reused by every later one after the user agreed to drop unsaved changes. A
// file is opened into a document of its own, which replaces the open one only once the whole
// file has been read.
// The first frame becomes the application's main window; the application shows it.
#include "platform/framework/CDocTemplate.h"

class CSingleDocTemplate : public CDocTemplate
{
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCTSTR pathName, BOOL makeVisible = TRUE) override;
    CDocument* GetOnlyDocument() const override { return m_pOnlyDoc.get(); }
    CFrameWnd* GetFrame() const { return m_frame.get(); }
    void CloseAllDocuments(BOOL endSession) override;

private:
    BOOL OpenInto(CDocument* document, LPCTSTR pathName);
    void TakeDocument(std::unique_ptr<CDocument> loaded);

    // The frame goes before the document: its view still points into it.
    std::unique_ptr<CDocument> m_pOnlyDoc;
    std::unique_ptr<CFrameWnd> m_frame;
};

#include "platform/framework/CSingleDocTemplate.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinApp.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CView.h"
#include "platform/windows/ResourceTable.h"

CSingleDocTemplate::~CSingleDocTemplate()
{
    m_frame.reset();
    m_pOnlyDoc.reset();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR pathName, BOOL makeVisible)
{
    const bool created = !m_pOnlyDoc || !m_frame || !m_frame->GetSafeHwnd();
    m_openRefused = !created && !m_pOnlyDoc->SaveModified();
    if (m_openRefused)
        return nullptr;
    if (created) {
        m_frame.reset();
        m_pOnlyDoc = CreateNewDocument();
        if (m_pOnlyDoc)
            m_frame = CreateNewFrame(m_pOnlyDoc.get());
        if (!m_frame) {
            AfxMessageBox(ResourceTable::FindString(AFX_IDP_FAILED_TO_CREATE_DOC),
                          MB_ICONEXCLAMATION);
            m_pOnlyDoc.reset();
            return nullptr;
        }
        if (!OpenInto(m_pOnlyDoc.get(), pathName)) {
            m_frame.reset();
            m_pOnlyDoc.reset();
            return nullptr;
        }
    } else if (pathName) {
        // The file is read into a document of its own first, so that one that cannot be read
        // leaves the open document as it was.
        std::unique_ptr<CDocument> loaded = CreateNewDocument();
        if (!loaded || !OpenInto(loaded.get(), pathName))
            return nullptr;
        TakeDocument(std::move(loaded));
    } else if (!OpenInto(m_pOnlyDoc.get(), nullptr)) {
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd)
        app->m_pMainWnd = m_frame.get();
    m_frame->InitialUpdateFrame(m_pOnlyDoc.get(), makeVisible);
    return m_pOnlyDoc.get();
}

BOOL CSingleDocTemplate::OpenInto(CDocument* document, LPCTSTR pathName)
{
    if (!pathName) {
        SetDefaultTitle(document);
        return document->OnNewDocument();
    }
    CWaitCursor wait;
    if (!document->OnOpenDocument(pathName))
        return FALSE;
    document->SetPathName(pathName);
    return TRUE;
}

// The frame's view leaves the old document, emptied as on closing, for the loaded one.
void CSingleDocTemplate::TakeDocument(std::unique_ptr<CDocument> loaded)
{
    CView* view = m_frame->GetActiveView();
    m_pOnlyDoc->OnCloseDocument();
    if (view) {
        m_pOnlyDoc->RemoveView(view);
        loaded->AddView(view);
    }
    m_pOnlyDoc = std::move(loaded);
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_frame)
        m_frame->DestroyWindow();
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}

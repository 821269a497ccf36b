#include "platform/framework/CSingleDocTemplate.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinApp.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/ResourceTable.h"

CSingleDocTemplate::~CSingleDocTemplate()
{
    m_frame.reset();
    m_pOnlyDoc.reset();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR pathName, BOOL makeVisible)
{
    const bool created = !m_pOnlyDoc || !m_frame || !m_frame->GetSafeHwnd();
    if (!created && !m_pOnlyDoc->SaveModified())
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
    }
    if (!OpenInto(m_pOnlyDoc.get(), pathName, created)) {
        if (created) {
            m_frame.reset();
            m_pOnlyDoc.reset();
        }
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd)
        app->m_pMainWnd = m_frame.get();
    m_frame->InitialUpdateFrame(m_pOnlyDoc.get(), makeVisible);
    return m_pOnlyDoc.get();
}

// After a failed open the document is what it was when the file could not even be read, and
// a new empty one when the load had already cleared it.
BOOL CSingleDocTemplate::OpenInto(CDocument* document, LPCTSTR pathName, bool created)
{
    if (!pathName) {
        SetDefaultTitle(document);
        return document->OnNewDocument();
    }
    CWaitCursor wait;
    const BOOL wasModified = document->IsModified();
    document->SetModifiedFlag(FALSE);
    if (document->OnOpenDocument(pathName)) {
        document->SetPathName(pathName);
        return TRUE;
    }
    if (!created) {
        if (!document->IsModified()) {
            document->SetModifiedFlag(wasModified);
        } else {
            SetDefaultTitle(document);
            document->OnNewDocument();
            m_frame->InitialUpdateFrame(document, FALSE);
        }
    }
    return FALSE;
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_frame)
        m_frame->DestroyWindow();
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}

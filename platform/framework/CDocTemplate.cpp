#include "platform/framework/CDocTemplate.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/windows/CView.h"
#include "platform/windows/ResourceTable.h"

CDocTemplate::CDocTemplate(UINT nIDResource, DocumentClass document, FrameClass frame,
                           ViewClass view)
    : m_nIDResource(nIDResource), m_strDocStrings(ResourceTable::FindString(nIDResource)),
      m_documentClass(std::move(document)), m_frameClass(std::move(frame)),
      m_viewClass(std::move(view))
{
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& value, DocStringIndex index) const
{
    int start = 0;
    for (int i = 0; i < index; ++i) {
        start = m_strDocStrings.Find('\n', start);
        if (start < 0) {
            value.Empty();
            return FALSE;
        }
        ++start;
    }
    const int end = m_strDocStrings.Find('\n', start);
    value = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}

CString CDocTemplate::GetFilter() const
{
    CString name, ext;
    if (!GetDocString(name, filterName) || !GetDocString(ext, filterExt) || name.IsEmpty() ||
        ext.IsEmpty())
        return CString();
    return name + "|*" + ext + "|";
}

void CDocTemplate::SetDefaultTitle(CDocument* document) const
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = ResourceTable::FindString(AFX_IDS_UNTITLED);
    document->SetTitle(title);
}

std::unique_ptr<CDocument> CDocTemplate::CreateNewDocument()
{
    std::unique_ptr<CDocument> document = m_documentClass ? m_documentClass() : nullptr;
    if (document)
        document->m_pDocTemplate = this;
    return document;
}

std::unique_ptr<CFrameWnd> CDocTemplate::CreateNewFrame(CDocument* document)
{
    std::unique_ptr<CFrameWnd> frame = m_frameClass ? m_frameClass() : nullptr;
    CCreateContext context{m_viewClass, document};
    if (!frame || !frame->LoadFrame(m_nIDResource, &context))
        return nullptr;
    return frame;
}

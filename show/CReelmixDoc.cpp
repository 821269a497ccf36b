#include "show/CReelmixDoc.h"

#include "platform/files/CArchive.h"
#include "platform/files/CArchiveException.h"
#include "platform/files/CFile.h"
#include "show/Clip.h"

CReelmixDoc::~CReelmixDoc()
{
    // Views are gone by now; only the clips are left to free.
    POSITION pos = m_clips.GetHeadPosition();
    while (pos)
        delete m_clips.GetNext(pos);
}

void CReelmixDoc::MoveClipUp(Clip* clip)
{
    SwapWithNeighbour(clip, true);
}

void CReelmixDoc::MoveClipDown(Clip* clip)
{
    SwapWithNeighbour(clip, false);
}

// The nodes stay where they are; only the clip pointers they hold trade places.
void CReelmixDoc::SwapWithNeighbour(Clip* clip, bool up)
{
    if (!clip)
        return;
    const POSITION pos = m_clips.Find(clip);
    if (!pos)
        return;
    POSITION neighbour = pos;
    if (up)
        m_clips.GetPrev(neighbour);
    else
        m_clips.GetNext(neighbour);
    if (!neighbour)
        return;
    m_clips.SetAt(pos, m_clips.GetAt(neighbour));
    m_clips.SetAt(neighbour, clip);
}

void CReelmixDoc::Serialize(CArchive& archive)
{
    if (archive.IsStoring()) {
        archive << LONG(m_clips.GetCount());
        POSITION pos = m_clips.GetHeadPosition();
        while (pos)
            m_clips.GetNext(pos)->Serialize(archive);
        return;
    }
    LONG count = 0;
    archive >> count;
    for (LONG i = 0; i < count; ++i) {
        // Appended before reading, so that a failed read still leaves it for DeleteContents.
        Clip* clip = new Clip;
        m_clips.AddTail(clip);
        clip->Serialize(archive);
    }
}

// An empty file (whose count cannot be read) and a negative count are damaged, and are told
// before the open show is given up.
void CReelmixDoc::CheckFileStart(CArchive& archive)
{
    LONG count = 0;
    archive >> count;
    if (count < 0)
        throw CArchiveException(CArchiveException::badIndex, archive.GetFile()->GetFilePath());
}

void CReelmixDoc::DeleteContents()
{
    UpdateAllViews(nullptr, HintClear, nullptr);
    POSITION pos = m_clips.GetHeadPosition();
    while (pos)
        delete m_clips.GetNext(pos);
    m_clips.RemoveAll();
    CDocument::DeleteContents();
}

BOOL CReelmixDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

void CReelmixDoc::OnCloseDocument()
{
    CDocument::OnCloseDocument();
}

#include "show/CReelmixDoc.h"

#include "platform/files/CArchive.h"
#include "platform/files/CArchiveException.h"
#include "platform/files/CFile.h"
#include "show/Clip.h"

namespace
{
// Steps kept for Undo; a shuffle of a long show keeps its whole order.
constexpr int kUndoSteps = 100;
} // namespace

CReelmixDoc::CReelmixDoc()
{
    m_undoStack.setUndoLimit(kUndoSteps);
    QObject::connect(&m_undoStack, &QUndoStack::cleanChanged,
                     [this](bool clean) { SetModifiedFlag(!clean); });
}

CReelmixDoc::~CReelmixDoc()
{
    // The steps own the clips they took out of the show; the document is past telling.
    m_undoStack.disconnect();
    m_undoStack.clear();
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

std::vector<Clip*> CReelmixDoc::GetClips() const
{
    std::vector<Clip*> clips;
    clips.reserve(std::size_t(m_clips.GetCount()));
    for (POSITION pos = m_clips.GetHeadPosition(); pos;)
        clips.push_back(static_cast<Clip*>(m_clips.GetNext(pos)));
    return clips;
}

std::vector<Clip*> CReelmixDoc::ReplaceClips(int first, int count, const std::vector<Clip*>& clips,
                                             Clip* select)
{
    std::vector<Clip*> replaced;
    POSITION pos = m_clips.FindIndex(first);
    for (int i = 0; i < count && pos; ++i) {
        const POSITION gone = pos;
        replaced.push_back(static_cast<Clip*>(m_clips.GetNext(pos)));
        m_clips.RemoveAt(gone);
    }
    for (Clip* clip : clips) {
        if (pos)
            m_clips.InsertBefore(pos, clip);
        else
            m_clips.AddTail(clip);
    }
    RowsChange change(first, int(replaced.size()), int(clips.size()), select);
    UpdateAllViews(nullptr, HintRows, &change);
    return replaced;
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
    m_undoStack.clear();
    CDocument::DeleteContents();
}

BOOL CReelmixDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

BOOL CReelmixDoc::OnSaveDocument(const char* pathName)
{
    if (!CDocument::OnSaveDocument(pathName))
        return FALSE;
    m_undoStack.setClean();
    return TRUE;
}

void CReelmixDoc::OnCloseDocument()
{
    CDocument::OnCloseDocument();
}

#pragma once
// The show document: the show's clips in show order, owned by the document, stored as a
// count and one record per clip. Its changes are steps of an undo stack, and the document is
// modified exactly while that stack is away from the state last saved or opened.
#include "platform/core/CObList.h"
#include "platform/framework/CDocument.h"

#include <QUndoStack>
#include <vector>

class Clip;

class CReelmixDoc : public CDocument
{
public:
    // The views' hint for "every clip is about to go".
    static constexpr LPARAM HintClear = -1;
    // The views' hint for a run of clips replaced by another; the hint's object is a RowsChange.
    static constexpr LPARAM HintRows = -2;
    // The clips from first on: removed of them went, added took their place; select is the
    // clip the views select (null for none).
    struct RowsChange : CObject {
        RowsChange(int first, int removed, int added, Clip* select)
            : first(first), removed(removed), added(added), select(select)
        {
        }
        int first;
        int removed;
        int added;
        Clip* select;
    };

    CReelmixDoc();
    ~CReelmixDoc() override;

    // Exchange a clip with its neighbour; nothing happens when there is none.
    void MoveClipUp(Clip* clip);
    void MoveClipDown(Clip* clip);

    // The clips in show order.
    std::vector<Clip*> GetClips() const;
    // Puts clips in place of the count clips from first on, tells the views (HintRows) and
    // returns the clips replaced, which the document no longer owns.
    std::vector<Clip*> ReplaceClips(int first, int count, const std::vector<Clip*>& clips,
                                    Clip* select);

    void Serialize(CArchive& archive) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    BOOL OnSaveDocument(const char* pathName) override;
    void OnCloseDocument() override;

    CObList m_clips{10};
    QUndoStack m_undoStack;

protected:
    void CheckFileStart(CArchive& archive) override;

private:
    void SwapWithNeighbour(Clip* clip, bool up);
};

#pragma once
// The show document: the show's clips in show order, owned by the document, stored as a
// count and one record per clip.
#include "platform/core/CObList.h"
#include "platform/framework/CDocument.h"

class Clip;

class CReelmixDoc : public CDocument
{
public:
    // The views' hint for "every clip is about to go".
    static constexpr LPARAM HintClear = -1;

    CReelmixDoc() = default;
    ~CReelmixDoc() override;

    // Exchange a clip with its neighbour; nothing happens when there is none.
    void MoveClipUp(Clip* clip);
    void MoveClipDown(Clip* clip);

    void Serialize(CArchive& archive) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    void OnCloseDocument() override;

    CObList m_clips{10};

protected:
    void CheckFileStart(CArchive& archive) override;

private:
    void SwapWithNeighbour(Clip* clip, bool up);
};

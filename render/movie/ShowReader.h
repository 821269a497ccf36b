#pragma once
// The clips of a show to render: from the open document, a show file (.rlx) or any playlist or
// edit list Import reads.
#include "render/formats/ListClip.h"
#include "render/movie/RenderClip.h"

#include <QStringList>
#include <vector>

class CReelmixDoc;

class ShowReader
{
public:
    static std::vector<RenderClip> FromDocument(const CReelmixDoc& doc);
    // Throws RenderFailure when the file cannot be read; what a list held that a show cannot is
    // said in notices.
    static std::vector<RenderClip> ReadFile(const QString& hostPath, QStringList& notices);

private:
    static std::vector<RenderClip> FromList(const std::vector<ListClip>& clips);
};

#pragma once
// The clips of a show to render, from the open document, a .rlx show file or an ASX playlist.
#include "render/movie/RenderClip.h"

#include <QStringList>
#include <vector>

class CReelmixDoc;

class ShowReader
{
public:
    static std::vector<RenderClip> FromDocument(const CReelmixDoc& doc);
    // Throws RenderFailure when the file cannot be read; entries that cannot be rendered are
    // passed over with a notice.
    static std::vector<RenderClip> ReadFile(const QString& hostPath, QStringList& notices);

private:
    static std::vector<RenderClip> ReadShow(const QString& hostPath);
    static std::vector<RenderClip> ReadPlaylist(const QString& hostPath, QStringList& notices);
};

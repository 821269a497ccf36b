#pragma once
// Clips on the clipboard: the movies as a URL list (text/uri-list), which file managers and
// other programs take, and the clips with their marks in a type of the program's own, which
// Reelmix windows take.
#include "platform/core/CString.h"

#include <functional>
#include <memory>
#include <vector>

class Clip;
class QMimeData;

class ClipTransfer
{
public:
    static constexpr const char* kMimeType = "application/x-reelmix-clips";

    static std::unique_ptr<QMimeData> Write(const std::vector<const Clip*>& clips);
    // The clips data holds: from the program's own type with their marks, else the local files
    // of its URL list whose names isMovie accepts, without marks. Entries that make no clip (a
    // name the program cannot spell, a mark that is no number) are passed over.
    static std::vector<std::unique_ptr<Clip>>
    Read(const QMimeData& data, const std::function<bool(const CString& fileName)>& isMovie);
    // Whether data may hold clips.
    static bool CanRead(const QMimeData& data);
};

#pragma once
// A show's clips as lists carry them and back: program paths become host paths (and the
// Windows paths another program wrote stay as they are), and a show file is read whole.
#include "render/formats/ListClip.h"

#include <string>
#include <vector>

class CReelmixDoc;
class FormatNotes;
class MovieCatalog;

class ShowClips
{
public:
    ShowClips() = delete;

    // In show order, each titled with its movie's file name.
    static std::vector<ListClip> FromDocument(const CReelmixDoc& document);
    // Appends a clip of the document for each list clip; the views are not told.
    static void AddToDocument(const std::vector<ListClip>& clips, CReelmixDoc& document);
    // The clips of a show file (.rlx); false with a message when it cannot be read.
    static bool ReadShowFile(const std::string& hostPath, std::vector<ListClip>& clips,
                             std::string& error);
    // The clips of a show file, or of any list Import reads (notes then say what it could not
    // carry); false with a message when it cannot be read.
    static bool ReadShowOrList(const std::string& hostPath, MovieCatalog& movies,
                               std::vector<ListClip>& clips, FormatNotes& notes,
                               std::string& error);
};

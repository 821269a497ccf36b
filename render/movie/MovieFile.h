#pragma once
// Opens a movie file for reading, as a local file only: a name that looks like an address, or
// a playlist inside the file, never makes the library go to the network.
#include "render/movie/AvPtr.h"

#include <QString>

class MovieFile
{
public:
    // Throws RenderFailure naming the file.
    static AvPtr<AVFormatContext> Open(const QString& hostPath);
    // The file as a message names it.
    static QString Quoted(const QString& hostPath);
};

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
    // Opens hostPath with only stream (of format) read, and a decoder for that stream.
    static AvPtr<AVFormatContext> OpenStream(const QString& hostPath, int stream);
    static AvPtr<AVCodecContext> OpenDecoder(const AVStream& stream, const QString& hostPath);
    // The file as a message names it.
    static QString Quoted(const QString& hostPath);
};

#pragma once
// libmpv and FFmpeg's libraries, opened when first needed rather than when the program starts:
// with their dependencies they are some two hundred libraries, whose loading took longer than
// the rest of the start together. The program's own calls to them go through the entry points
// of platform/media/ondemand, which ask Symbol for the real functions.
class MediaLibraries
{
public:
    enum Library { Mpv, AvFormat, AvCodec, AvUtil, SwScale };

    // The function name of library, which is opened at the first need. A library or function
    // that cannot be had ends the program with the loader's message, as it ended the program's
    // start when the program named the libraries itself.
    static void* Symbol(Library library, const char* name);
    // Opens every library on a thread of its own, so that the first call finds them ready; the
    // program's end waits for it. Called on the main thread.
    static void LoadInBackground();
};

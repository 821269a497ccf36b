#pragma once
// The tool's movie: a show rendered into one movie file, its progress on standard error; Ctrl+C
// cancels and leaves nothing behind.
#include "render/tool/RenderCommandLine.h"

class MovieCommand
{
public:
    MovieCommand() = delete;

    // Returns the exit status: 0 done, 1 failed, 130 cancelled.
    static int Run(const RenderCommandLine::Request& request);
};

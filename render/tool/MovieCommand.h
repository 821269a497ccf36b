#pragma once
// reelmix-render SHOW OUT [options]: renders a show (.rlx) or an ASX playlist into one movie,
// printing its progress; Ctrl+C cancels and leaves nothing behind.
#include <QStringList>

class MovieCommand
{
public:
    // arguments without the program's name; returns the exit status.
    static int Run(const QStringList& arguments);
};

#pragma once
// Work that reads or writes files (and probes movies) done off the user-interface thread: the
// window stays painted and a progress window says what is going on when it takes a moment.
#include <functional>
#include <string>

class QWidget;

class BackgroundWork
{
public:
    BackgroundWork() = delete;

    // Runs work on a thread of its own and returns when it is done. Input to the program's
    // windows waits until then. False with error when work threw.
    static bool Run(QWidget* parent, const std::string& text, const std::function<void()>& work,
                    std::string& error);
};

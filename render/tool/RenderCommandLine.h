#pragma once
// The reelmix-render command line: what is asked for, and a usage message when it makes no
// sense. Each kind of work is an action of its own, so that more can join.
#include <string>
#include <vector>

class RenderCommandLine
{
public:
    enum class Action { Help, ExportList };

    struct Request {
        Action action = Action::Help;
        // The export format's key ("mpv-edl").
        std::string format;
        // The show (.rlx, or any list that is imported) and the file to write.
        std::string show;
        std::string out;
    };

    // The arguments after the program's name; false with a message for the user.
    static bool Parse(const std::vector<std::string>& arguments, Request& request,
                      std::string& error);
    static std::string Usage();
};

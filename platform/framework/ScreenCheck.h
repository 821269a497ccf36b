#pragma once
// Whether the screen that Qt's GUI start-up is about to connect to can be reached. Qt ends the
// program with an abort (and a core) when its X connection fails, which a busy X server makes
// happen now and then; asking first turns that into one line and a plain exit code.
#include <string>

class ScreenCheck
{
public:
    // Empty when the platform Qt will start (-platform NAME, else $QT_QPA_PLATFORM) needs no X
    // display or its display (-display NAME, else $DISPLAY) answers; otherwise one line, led by
    // the program's name, that says which display could not be reached.
    static std::string Problem(int argc, char** argv);
};

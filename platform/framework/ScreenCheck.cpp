#include "platform/framework/ScreenCheck.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace
{

// A server at its client limit turns connections away for a moment only.
constexpr int kTries = 3;
constexpr auto kPause = std::chrono::milliseconds(100);

// Qt takes its options with one dash or two.
std::string Argument(int argc, char** argv, const char* option, const char* environment)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], option) == 0 ||
            (argv[i][0] == '-' && !std::strcmp(argv[i] + 1, option)))
            return argv[i + 1];
    const char* value = std::getenv(environment);
    return value ? value : "";
}

// Qt picks Wayland on its own only in a Wayland session; a named platform list is tried in order,
// so only an X platform first needs the display.
bool UsesX(const std::string& platform)
{
    if (platform.empty()) {
        const char* session = std::getenv("XDG_SESSION_TYPE");
        return !session || std::strcmp(session, "wayland") != 0;
    }
    return platform.compare(0, platform.find_first_of(";:"), "xcb") == 0;
}

bool Answers(const std::string& display)
{
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(kPause);
        xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
        const bool ok = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (ok)
            return true;
    }
    return false;
}

} // namespace

std::string ScreenCheck::Problem(int argc, char** argv)
{
    if (!UsesX(Argument(argc, argv, "-platform", "QT_QPA_PLATFORM")))
        return std::string();
    const std::string display = Argument(argc, argv, "-display", "DISPLAY");
    const char* slash = argc > 0 ? std::strrchr(argv[0], '/') : nullptr;
    const std::string program = slash ? slash + 1 : argc > 0 ? argv[0] : "";
    if (display.empty())
        return program + ": no display to show windows on (DISPLAY is not set)";
    if (!Answers(display))
        return program + ": cannot connect to display " + display;
    return std::string();
}

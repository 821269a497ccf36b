#include "platform/media/MediaLibraries.h"

extern "C" {
#include <libavcodec/version_major.h>
#include <libavformat/version_major.h>
#include <libavutil/version.h>
#include <libswscale/version_major.h>
}
#include <mpv/client.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <thread>

namespace
{
constexpr int kLibraries = MediaLibraries::SwScale + 1;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "reelmix: %s\n", what);
    std::_Exit(127);
}

// The names the libraries' packages give them, for the versions the program was built with.
void* Open(MediaLibraries::Library library)
{
    const unsigned long majors[] = {MPV_CLIENT_API_VERSION >> 16, LIBAVFORMAT_VERSION_MAJOR,
                                    LIBAVCODEC_VERSION_MAJOR, LIBAVUTIL_VERSION_MAJOR,
                                    LIBSWSCALE_VERSION_MAJOR};
    const char* names[] = {"mpv", "avformat", "avcodec", "avutil", "swscale"};
    const std::string soname =
        "lib" + std::string(names[library]) + ".so." + std::to_string(majors[library]);
    void* handle = dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        Fail(dlerror());
    return handle;
}

// Shared by every thread that calls into the libraries: opened once, by whichever thread needs
// them first, while the others wait (a function-local static).
const std::array<void*, kLibraries>& Handles()
{
    static const std::array<void*, kLibraries> handles = [] {
        std::array<void*, kLibraries> opened{};
        for (int library = 0; library < kLibraries; ++library)
            opened[std::size_t(library)] = Open(MediaLibraries::Library(library));
        return opened;
    }();
    return handles;
}
} // namespace

void* MediaLibraries::Symbol(Library library, const char* name)
{
    void* address = dlsym(Handles()[std::size_t(library)], name);
    if (!address)
        Fail(dlerror());
    return address;
}

void MediaLibraries::LoadInBackground()
{
    // The program's end waits for the loading: a library whose set-up the end of the process
    // overtook failed its own checks (libgomp's). Started and joined by the main thread only.
    struct Loader {
        std::thread thread;
        ~Loader()
        {
            if (thread.joinable())
                thread.join();
        }
    };
    static Loader loader;
    if (loader.thread.joinable())
        return;
    loader.thread = std::thread([] {
        try {
            Handles();
        } catch (...) {
        }
    });
}

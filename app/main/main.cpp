// The program: the application object with the clip list as its view.
#include "app/CReelmixApp.h"
#include "res/Resources.h"
#include "show/CReelmixView.h"

#include <cstdio>
#include <cstring>

namespace
{
constexpr const char* kUsage = "usage: reelmix [SHOW.rlx]\n"
                               "Makes a show of movie clips; opens the show file when one is "
                               "named, else starts a new show.\n"
                               "  --help     print this text\n"
                               "  --version  print the program's version\n";
} // namespace

int main(int argc, char** argv)
{
    // Answered before any window or display is needed.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0)
        return std::fputs(kUsage, stdout) < 0;
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return std::puts("Reelmix Version 1.0") < 0;
    // The application object takes its title from the string table.
    RegisterResources();
    CReelmixApp theApp(RUNTIME_CLASS(CReelmixView));
    return AfxWinMain(argc, argv);
}

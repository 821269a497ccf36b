// The program: the application object with the clip list as its view.
#include "app/CReelmixApp.h"
#include "show/CReelmixView.h"

namespace
{
CReelmixApp theApp(RUNTIME_CLASS(CReelmixView));
}

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}

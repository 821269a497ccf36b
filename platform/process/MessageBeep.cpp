#include "platform/process/MessageBeep.h"

#include <QApplication>
#include <atomic>

namespace
{
std::atomic<int> g_beeps{0};
}

BOOL MessageBeep(UINT)
{
    ++g_beeps;
    if (qApp)
        QApplication::beep();
    return TRUE;
}

int MessageBeepCount()
{
    return g_beeps;
}

#include "platform/framework/WindowPlacement.h"

#include "platform/windows/CWnd.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace
{
// How much of a window must lie on a screen for the user to grab and move it.
constexpr int kReachableWidth = 64;
constexpr int kReachableHeight = 32;

QRect WorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

QMargins FrameMargins(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

bool Reachable(const QRect& frame)
{
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = frame.intersected(screen->availableGeometry());
        if (common.width() >= std::min(kReachableWidth, frame.width()) &&
            common.height() >= std::min(kReachableHeight, frame.height()))
            return true;
    }
    return false;
}

std::int64_t Clamp(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return std::max(low, std::min(value, std::max(low, high)));
}

// The stored frame rectangle on the screen, sized between the window's minimum and the work
// area and moved onto the work area when it is out of reach. Computed in 64 bits: the
// stored edges may be any 32-bit values.
QRect FrameOnScreen(const RECT& stored, const QSize& minimum)
{
    const QRect area = WorkArea();
    const std::int64_t width =
        Clamp(std::int64_t(stored.right) - stored.left, minimum.width(), area.width());
    const std::int64_t height =
        Clamp(std::int64_t(stored.bottom) - stored.top, minimum.height(), area.height());
    const std::int64_t x = std::int64_t(stored.left) + area.left();
    const std::int64_t y = std::int64_t(stored.top) + area.top();
    const auto fits = [](std::int64_t v) { return v > -(1 << 24) && v < (1 << 24); };
    QRect frame(0, 0, int(width), int(height));
    if (fits(x) && fits(y))
        frame.moveTo(int(x), int(y));
    if (!fits(x) || !fits(y) || !Reachable(frame)) {
        frame.moveTo(int(Clamp(x, area.left(), std::int64_t(area.right()) - width + 1)),
                     int(Clamp(y, area.top(), std::int64_t(area.bottom()) - height + 1)));
    }
    return frame;
}
} // namespace

BOOL GetWindowPlacement(QWidget* window, WINDOWPLACEMENT* placement)
{
    if (!window || !placement)
        return FALSE;
    const Qt::WindowStates state = window->windowState();
    *placement = WINDOWPLACEMENT{};
    placement->length = sizeof(WINDOWPLACEMENT);
    if (state & Qt::WindowMinimized) {
        placement->showCmd = SW_SHOWMINIMIZED;
        if (state & Qt::WindowMaximized)
            placement->flags |= WPF_RESTORETOMAXIMIZED;
    } else {
        placement->showCmd = (state & Qt::WindowMaximized) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    }
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    const QRect client = window->normalGeometry();
    const QMargins margins = FrameMargins(window);
    const QPoint corner =
        client.topLeft() - QPoint(margins.left(), margins.top()) - WorkArea().topLeft();
    placement->rcNormalPosition =
        RECT{corner.x(), corner.y(), corner.x() + client.width(), corner.y() + client.height()};
    return TRUE;
}

BOOL SetWindowPlacement(QWidget* window, const WINDOWPLACEMENT* placement)
{
    if (!window || !placement || placement->length != sizeof(WINDOWPLACEMENT))
        return FALSE;
    const QRect frame = FrameOnScreen(placement->rcNormalPosition, window->minimumSize());
    // The normal rectangle is set in the normal state, so that a maximised window keeps it.
    window->setWindowState(Qt::WindowNoState);
    window->move(frame.topLeft());
    window->resize(frame.size());
    switch (placement->showCmd) {
    case SW_HIDE:
        window->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        window->setWindowState((placement->flags & WPF_RESTORETOMAXIMIZED)
                                   ? Qt::WindowMinimized | Qt::WindowMaximized
                                   : Qt::WindowMinimized);
        window->show();
        break;
    case SW_SHOWMAXIMIZED:
        window->showMaximized();
        break;
    default:
        window->showNormal();
        break;
    }
    return TRUE;
}

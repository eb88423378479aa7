#include "WindowsFrame.h"

#include <QWidget>
#include <QWindow>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <dwmapi.h>

namespace toolkit {

std::optional<QMargins> WindowsFrame::extents(const QWidget *window)
{
    if (!window->windowHandle())
        return std::nullopt;
    const auto handle = reinterpret_cast<HWND>(window->winId());
    RECT frame;
    // Without the desktop window manager (composition off, or an older system) the window
    // rectangle is the visible frame.
    if (FAILED(DwmGetWindowAttribute(handle, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) &&
        !GetWindowRect(handle, &frame))
        return std::nullopt;
    RECT client;
    if (!GetClientRect(handle, &client))
        return std::nullopt;
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    if (!ClientToScreen(handle, &topLeft) || !ClientToScreen(handle, &bottomRight))
        return std::nullopt;
    // Windows counts physical pixels, Qt device-independent ones.
    const qreal ratio = window->devicePixelRatioF();
    const auto independent = [ratio](LONG pixels) { return qRound(pixels / ratio); };
    return QMargins(independent(topLeft.x - frame.left), independent(topLeft.y - frame.top),
                    independent(frame.right - bottomRight.x), independent(frame.bottom - bottomRight.y));
}

} // namespace toolkit

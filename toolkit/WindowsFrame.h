// The frame Windows draws around a window as the user sees it, for centring the window by it:
// the desktop window manager's frame bounds, which leave out the invisible resize borders that
// the window rectangle includes since Windows 10.
#pragma once

#include <QMargins>
#include <optional>

class QWidget;

namespace toolkit {

class WindowsFrame {
public:
    // The frame around the client area of `window` in Qt's device-independent pixels; nothing
    // while the window has no native window yet.
    static std::optional<QMargins> extents(const QWidget *window);
};

} // namespace toolkit

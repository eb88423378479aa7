// Positions and sizes of controls are laid out in twips (1/1440 inch). At 96 logical dots per
// inch that is 15 twips to a pixel; Qt's high-DPI scaling takes it from there.
#pragma once

#include <QRect>

class QWidget;

namespace toolkit {

class Twips {
public:
    static constexpr int perPixel = 15;

    static int toPixels(int twips);
    static QRect rect(int left, int top, int width, int height);
    // Places a control inside its window.
    static void place(QWidget *control, int left, int top, int width, int height);
    // Gives a window a fixed client area that the user cannot resize.
    static void fixClientSize(QWidget *window, int width, int height);
};

} // namespace toolkit

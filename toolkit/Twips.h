// Positions and sizes of controls are laid out in twips (1/1440 inch). At 96 logical dots per
// inch that is 15 twips to a pixel; Qt's high-DPI scaling takes it from there.
#pragma once

#include <QRect>

namespace toolkit {

class Twips {
public:
    static constexpr int perPixel = 15;

    static int toPixels(int twips);
    static QRect rect(const QRect &twips);
};

} // namespace toolkit

#include "Twips.h"

#include <QWidget>
#include <cmath>

namespace toolkit {

int Twips::toPixels(int twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(perPixel)));
}

QRect Twips::rect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

void Twips::place(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(rect(left, top, width, height));
}

void Twips::fixClientSize(QWidget *window, int width, int height)
{
    window->setFixedSize(toPixels(width), toPixels(height));
}

} // namespace toolkit

#include "Twips.h"

#include <cmath>

namespace toolkit {

int Twips::toPixels(int twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(perPixel)));
}

QRect Twips::rect(const QRect &twips)
{
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()), toPixels(twips.height())};
}

} // namespace toolkit

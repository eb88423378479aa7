// Litres per 100 km: litres x 100 / kilometres in double precision, the multiplication first.
#pragma once

#include <QString>

namespace core {

class Consumption {
public:
    // Throws Failure when the kilometres are 0, or when the product or the quotient
    // lies beyond the range of a double. A result too small for a double is no failure.
    static double per100km(double litres, double kilometres);

    // The consumption as the program shows and stores it: its number text, cut to two decimals.
    static QString shownText(double consumption);

    // The average consumption of a log from its total litres and kilometres as they are shown,
    // shown as a consumption; empty when it cannot be computed (a total that is no number, no
    // kilometres, a result beyond a double).
    static QString average(const QString &totalLitres, const QString &totalKilometres);
};

} // namespace core

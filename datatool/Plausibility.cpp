#include "Plausibility.h"

#include "LogRows.h"

#include "Consumption.h"
#include "NumberText.h"

#include <cmath>

namespace datatool {

namespace {

QString shown(double value)
{
    return core::NumberText::text(value);
}

// Single-precision fields of old logs come out with their binary rounding (7.5799999 for 7,58).
bool sameConsumption(double stored, double expected)
{
    return std::abs(stored - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

} // namespace

double Plausibility::storedConsumption(double litres, double kilometres)
{
    return core::NumberText::cutValue(core::Consumption::per100km(litres, kilometres)).value_or(0.0);
}

std::optional<Plausibility::Finding> Plausibility::check(double kilometres, double litres, double consumption)
{
    if (!std::isfinite(kilometres) || kilometres <= 0)
        return Finding{LogRows::Kilometres, QStringLiteral("Kilometer müssen über 0 liegen.")};
    if (kilometres > maxKilometres)
        return Finding{LogRows::Kilometres,
                       QStringLiteral("mehr als %1 km mit einer Tankung.").arg(shown(maxKilometres))};
    if (!std::isfinite(litres) || litres <= 0)
        return Finding{LogRows::Litres, QStringLiteral("Liter müssen über 0 liegen.")};
    if (litres > maxLitres)
        return Finding{LogRows::Litres,
                       QStringLiteral("mehr als %1 Liter in einer Tankung.").arg(shown(maxLitres))};
    const double expected = storedConsumption(litres, kilometres);
    if (expected < minConsumption || expected > maxConsumption)
        return Finding{LogRows::Litres, QStringLiteral("%1 Liter auf %2 km sind %3 Liter pro 100 km; "
                                                       "erwartet werden %4 bis %5.")
                                            .arg(shown(litres), shown(kilometres), shown(expected),
                                                 shown(minConsumption), shown(maxConsumption))};
    if (!sameConsumption(consumption, expected))
        return Finding{LogRows::Consumption,
                       QStringLiteral("aus %1 Litern auf %2 km ergeben sich %3 Liter pro 100 km, nicht %4.")
                           .arg(shown(litres), shown(kilometres), shown(expected), shown(consumption))};
    return std::nullopt;
}

} // namespace datatool

#include "Consumption.h"

#include "Failure.h"
#include "NumberText.h"

#include <cmath>

namespace core {

double Consumption::per100km(double litres, double kilometres)
{
    const double product = litres * 100.0;
    if (!std::isfinite(product))
        throw Failure(QStringLiteral("Der Wert ist zu groß für eine Berechnung."));
    if (kilometres == 0.0)
        throw Failure(QStringLiteral("Die Kilometerangabe darf nicht 0 sein."));
    const double quotient = product / kilometres;
    if (!std::isfinite(quotient))
        throw Failure(QStringLiteral("Der Wert ist zu groß für eine Berechnung."));
    return quotient;
}

QString Consumption::shownText(double consumption)
{
    return NumberText::cut(NumberText::text(consumption));
}

QString Consumption::average(const QString &totalLitres, const QString &totalKilometres)
{
    const std::optional<double> litres = NumberText::read(totalLitres);
    const std::optional<double> kilometres = NumberText::read(totalKilometres);
    if (!litres || !kilometres)
        return {};
    try {
        return shownText(per100km(*litres, *kilometres));
    } catch (const Failure &) {
        return {};
    }
}

} // namespace core

#include "LiveConsumption.h"

#include "Consumption.h"
#include "NumberText.h"

#include <optional>

namespace core {

namespace {

// The value of a field that is not empty and holds a number above zero. A text that cannot be
// read (only possible when it was pasted without a key release in its field) counts as not
// above zero, so that it stops the recomputation instead of failing.
std::optional<double> positive(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<double> value = NumberText::read(text);
    if (!value || !(*value > 0.0))
        return std::nullopt;
    return value;
}

} // namespace

LiveConsumption::Outcome LiveConsumption::afterKeyRelease(Typed typed, const QString &typedText,
                                                          const QString &otherText,
                                                          const QString &consumptionText)
{
    if (!NumberText::isNumeric(typedText))
        return {true, {}};

    QString shown = consumptionText;
    if (const std::optional<double> other = positive(otherText)) {
        if (const std::optional<double> own = positive(typedText)) {
            const double litres = typed == Typed::Litres ? *own : *other;
            const double kilometres = typed == Typed::Litres ? *other : *own;
            shown = NumberText::text(Consumption::per100km(litres, kilometres));
        }
    }
    return {false, NumberText::cut(shown)};
}

} // namespace core

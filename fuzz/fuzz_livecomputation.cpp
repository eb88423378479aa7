// Fuzzes the editor's recomputation on a key release with any three field texts. The first
// byte chooses the typed field; then come the typed text, the partner's text and the shown
// consumption, one per line. A refusal must come exactly for a typed text that is no number,
// an outcome that was not refused must show at most two characters after its first comma (in the
// mantissa of a number in exponent form), and a
// consumption recomputed from two positive numbers must still read as a number no further from the
// true consumption than cutting two decimals allows (0,01, or 1 % of a large value).
#include "Consumption.h"
#include "Failure.h"
#include "FuzzInput.h"
#include "LiveConsumption.h"
#include "NumberText.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &typedText, const QString &otherText,
                       const QString &consumptionText)
{
    std::fprintf(stderr, "%s: typed \"%s\", other \"%s\", consumption \"%s\"\n", what,
                 typedText.toUtf8().constData(), otherText.toUtf8().constData(),
                 consumptionText.toUtf8().constData());
    std::abort();
}

bool positive(const QString &text)
{
    const std::optional<double> value = core::NumberText::read(text);
    return value && *value > 0.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto typed =
        (data[0] & 1) ? core::LiveConsumption::Typed::Kilometres : core::LiveConsumption::Typed::Litres;
    FuzzInput input(data + 1, size - 1);
    const QString typedText = input.takeLine();
    const QString otherText = input.takeLine();
    const QString consumptionText = input.takeRest();

    core::LiveConsumption::Outcome outcome;
    try {
        outcome = core::LiveConsumption::afterKeyRelease(typed, typedText, otherText, consumptionText);
    } catch (const core::Failure &failure) {
        if (failure.message().isEmpty())
            fail("failure without a message", typedText, otherText, consumptionText);
        return 0;
    }
    if (outcome.refused != !core::NumberText::isNumeric(typedText))
        fail("refusal does not match the numeric test", typedText, otherText, consumptionText);
    if (outcome.refused)
        return 0;
    // A number in exponent form keeps its exponent: only what stands before it is cut.
    const QString text = outcome.consumptionText;
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    const QRegularExpressionMatch exponentPart =
        QRegularExpression(QStringLiteral("[Ee][+-]?[0-9]+[ \\t]*$")).match(text, comma + 1);
    const qsizetype mantissaEnd =
        comma >= 0 && exponentPart.hasMatch() ? exponentPart.capturedStart() : text.size();
    if (comma >= 0 && mantissaEnd - comma - 1 > 2)
        fail("consumption keeps more than two characters after the comma", typedText, otherText,
             consumptionText);
    if (!positive(typedText) || !positive(otherText))
        return 0;
    const double own = *core::NumberText::read(typedText);
    const double other = *core::NumberText::read(otherText);
    const bool litresTyped = typed == core::LiveConsumption::Typed::Litres;
    const double consumption =
        core::Consumption::per100km(litresTyped ? own : other, litresTyped ? other : own);
    const std::optional<double> shown = core::NumberText::read(outcome.consumptionText);
    if (!shown)
        fail("recomputed consumption is no number", typedText, otherText, consumptionText);
    if (std::fabs(*shown - consumption) > std::max(0.01, 0.01 * std::fabs(consumption)))
        fail("recomputed consumption is further off than the cut allows", typedText, otherText,
             consumptionText);
    return 0;
}

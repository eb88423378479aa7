// Fuzzes the number-text rules. For any text: the numeric test agrees with number reading;
// a number read from it is written as a number text that reads back to the same number (up to
// the 15 significant digits the text keeps); the two-decimal cut gives a prefix of the text
// with at most two characters after its first comma. For any eight bytes taken as a finite
// double, its number text reads back the same way.
#include "FuzzInput.h"
#include "NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

void checkRoundTrip(double value)
{
    const QString written = NumberText::text(value);
    const std::optional<double> back = NumberText::read(written);
    if (!back)
        fail(qPrintable(QStringLiteral("number text of %1 does not read back").arg(value, 0, 'g', 17)),
             written);
    const bool equal = value == 0.0 ? *back == 0.0 : std::fabs(*back - value) <= 1e-14 * std::fabs(value);
    if (!equal)
        fail(qPrintable(QStringLiteral("number text of %1 reads back as %2")
                            .arg(value, 0, 'g', 17)
                            .arg(*back, 0, 'g', 17)),
             written);
}

void checkCut(const QString &text)
{
    const QString cut = NumberText::cut(text);
    if (!text.startsWith(cut))
        fail("cut is no prefix", text);
    const qsizetype comma = cut.indexOf(QLatin1Char(','));
    if (comma >= 0 && cut.size() - comma - 1 > 2)
        fail("cut keeps more than two characters after the comma", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput whole(data, size);
    const QString text = whole.takeRest();

    const std::optional<double> value = NumberText::read(text);
    if (NumberText::isNumeric(text) != value.has_value())
        fail("numeric test and number reading disagree", text);
    if (value) {
        if (!std::isfinite(*value))
            fail("number reading gave a value that is not finite", text);
        checkRoundTrip(*value);
        checkCut(NumberText::text(*value));
    }
    checkCut(text);

    FuzzInput bits(data, size);
    const double raw = bits.takeDouble();
    if (std::isfinite(raw)) {
        checkRoundTrip(raw);
        checkCut(NumberText::text(raw));
    }
    return 0;
}

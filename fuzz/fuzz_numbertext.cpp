// Fuzzes the number-text rules. For any text: the numeric test agrees with number reading;
// a number read from it is written as a number text that reads back to the same number (up to
// the 15 significant digits the text keeps); the two-decimal cut gives the beginning of the text
// with at most two characters after its first comma (and a number's exponent), and the cut of a
// number text is still a number. For any eight bytes taken as a finite
// double, its number text reads back the same way.
#include "FuzzInput.h"
#include "NumberText.h"

#include <QRegularExpression>

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
    const QString written = core::NumberText::text(value);
    const std::optional<double> back = core::NumberText::read(written);
    if (!back)
        fail(qPrintable(QStringLiteral("number text of %1 does not read back").arg(value, 0, 'g', 17)),
             written);
    const bool equal = value == 0.0 ? *back == 0.0 : std::fabs(*back - value) <= 1e-14 * std::fabs(value);
    if (!equal)
        fail(qPrintable(QStringLiteral("number text of %1 reads back as %2")
                            .arg(value, 0, 'g', 17)
                            .arg(*back, 0, 'g', 17)),
             written);
    // What the program shows and stores is the cut number text: it must still be a number.
    if (!core::NumberText::isNumeric(core::NumberText::cut(written)))
        fail("the cut number text is no number", written);
}

void checkCut(const QString &text)
{
    // The cut keeps the beginning of the text up to two characters after its first comma; a
    // number in exponent form keeps its exponent behind the cut mantissa, so it stays that number.
    const QString cut = core::NumberText::cut(text);
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    const qsizetype exponent =
        comma < 0 ? -1 : text.indexOf(QRegularExpression(QStringLiteral("[Ee]")), comma);
    const bool keepsExponent = exponent > comma && core::NumberText::isNumeric(text);
    const QString tail = keepsExponent ? text.mid(exponent) : QString();
    const QString head = cut.left(cut.size() - tail.size());
    if (!cut.endsWith(tail) || !text.startsWith(head) || (keepsExponent && head.size() > exponent))
        fail("cut is not the beginning of the text (and its exponent)", text);
    const qsizetype headComma = head.indexOf(QLatin1Char(','));
    if (headComma >= 0 && head.size() - headComma - 1 > 2)
        fail("cut keeps more than two characters after the comma", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput whole(data, size);
    const QString text = whole.takeRest();

    const std::optional<double> value = core::NumberText::read(text);
    if (core::NumberText::isNumeric(text) != value.has_value())
        fail("numeric test and number reading disagree", text);
    if (value) {
        if (!std::isfinite(*value))
            fail("number reading gave a value that is not finite", text);
        checkRoundTrip(*value);
        checkCut(core::NumberText::text(*value));
    }
    checkCut(text);

    FuzzInput bits(data, size);
    const double raw = bits.takeDouble();
    if (std::isfinite(raw)) {
        checkRoundTrip(raw);
        checkCut(core::NumberText::text(raw));
    }
    return 0;
}

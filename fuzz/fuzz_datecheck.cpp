// Fuzzes the date check with any date text and any valid today. The first four bytes choose
// today (a day from 1.1.0001 to 31.12.9999); the rest is the date text. An accepted text must
// be a real calendar date of ten characters, day.month.year, not after today and not before 1900.
#include "DateCheck.h"
#include "FuzzInput.h"

#include <QDate>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &dateText, const QString &todayText)
{
    std::fprintf(stderr, "%s: date \"%s\", today \"%s\"\n", what, dateText.toUtf8().constData(),
                 todayText.toUtf8().constData());
    std::abort();
}

// An open fault, kept as cases in tests/fuzzregress: a day or month part that is no pair of digits
// but reads as a number (" 1", ".1", "+1", "1,") is accepted. The fuzzer looks past such texts
// until the date check is fixed, so that it can go on finding other faults.
bool knownOpenFault(const QString &dateText)
{
    const auto twoDigits = [](const QString &part) {
        return part.size() == 2 && part[0].isDigit() && part[1].isDigit() && part[0].unicode() < 128 &&
               part[1].unicode() < 128;
    };
    return !twoDigits(dateText.left(2)) || !twoDigits(dateText.mid(3, 2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const qint64 first = QDate(1, 1, 1).toJulianDay();
    const qint64 last = QDate(9999, 12, 31).toJulianDay();
    const QDate today = QDate::fromJulianDay(first + input.takeUInt32() % (last - first + 1));
    const QString todayText = today.toString(QStringLiteral("dd.MM.yyyy"));
    const QString dateText = input.takeRest();

    const std::optional<QString> refusal = DateCheck::refusal(dateText, todayText);
    if (refusal) {
        if (refusal->isEmpty())
            fail("refused without a message", dateText, todayText);
        return 0;
    }
    if (dateText.size() != 10)
        fail("accepted a text that is not ten characters long", dateText, todayText);
    const QDate date = QDate::fromString(dateText, QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid() && knownOpenFault(dateText))
        return 0;
    if (!date.isValid())
        fail("accepted a text that is no calendar date", dateText, todayText);
    if (date > today)
        fail("accepted a date after today", dateText, todayText);
    if (date.year() < 1900)
        fail("accepted a date before 1900", dateText, todayText);
    return 0;
}

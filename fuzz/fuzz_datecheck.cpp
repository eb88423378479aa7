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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const qint64 first = QDate(1, 1, 1).toJulianDay();
    const qint64 last = QDate(9999, 12, 31).toJulianDay();
    const QDate today = QDate::fromJulianDay(first + input.takeUInt32() % (last - first + 1));
    const QString todayText = today.toString(QStringLiteral("dd.MM.yyyy"));
    const QString dateText = input.takeRest();

    const std::optional<QString> refusal = core::DateCheck::refusal(dateText, todayText);
    if (refusal) {
        if (refusal->isEmpty())
            fail("refused without a message", dateText, todayText);
        return 0;
    }
    if (dateText.size() != 10)
        fail("accepted a text that is not ten characters long", dateText, todayText);
    const QDate date = QDate::fromString(dateText, QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        fail("accepted a text that is no calendar date", dateText, todayText);
    if (date > today)
        fail("accepted a date after today", dateText, todayText);
    if (date.year() < 1900)
        fail("accepted a date before 1900", dateText, todayText);
    return 0;
}

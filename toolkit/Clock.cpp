#include "Clock.h"

#include "ShortDate.h"

namespace toolkit {

namespace {
std::optional<QDate> &fixedToday()
{
    static std::optional<QDate> day;
    return day;
}
} // namespace

QDate Clock::today()
{
    return fixedToday() ? *fixedToday() : QDate::currentDate();
}

QString Clock::todayText()
{
    return core::ShortDate::text(today());
}

void Clock::setFixedToday(std::optional<QDate> day)
{
    fixedToday() = day;
}

} // namespace toolkit

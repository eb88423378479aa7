#include "Clock.h"

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

QString Clock::dateText(const QDate &date)
{
    // Built by hand: the short-date text is always day.month.four-digit year, whatever the system locale.
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString Clock::todayText()
{
    return dateText(today());
}

void Clock::setFixedToday(std::optional<QDate> day)
{
    fixedToday() = day;
}

} // namespace toolkit

#include "ShortDate.h"

namespace core {

QString ShortDate::text(const QDate &date)
{
    // Built by hand: always day.month.four-digit year, a year before 1000 with leading zeros.
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

} // namespace core

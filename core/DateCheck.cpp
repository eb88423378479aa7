#include "DateCheck.h"

#include "NumberText.h"

#include <QDate>

namespace core {

namespace {

bool isDigits(const QString &text, qsizetype count)
{
    if (text.size() != count)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The messages, word for word as the user sees them.
const QString noDate = QStringLiteral("Ohne Datum läuft hier garnichts !");
const QString notFullLength =
    QStringLiteral("Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!");
const QString wrongSeparator =
    QStringLiteral("Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!");
const QString inFuture = QStringLiteral("Falsches Datum angegeben,Jahreszahl größer als aktuelles Datum !!");
const QString before1900 = QStringLiteral("Geburtsjahr vor 1900 ist ungültig !!");
const QString wrongFormat = QStringLiteral("Falsches Datum angegeben (Format oder Länge falsch) !!");
const QString dayNotNumeric = QStringLiteral("Falscher Tag angegeben.\r\nBitte nur Zahlen vo 0-31 angeben");
const QString dayBelowOne = QStringLiteral("Falsches Datum angegeben (Tag kleiner 1 ) !!");
const QString dayAbove31 = QStringLiteral("Falsches Datum angegeben (Tag größer 31) !!");
const QString monthNotNumeric =
    QStringLiteral("Falscher Monat angegeben.\r\nBitte nur Zahlen vo 0-12 angeben");
const QString monthBelowOne = QStringLiteral("Falsches Datum angegeben (Monat kleiner 1)!!");
const QString monthAbove12 = QStringLiteral("Falsches Datum angegeben (Monat größer 12) !!");
const QString dayNotInMonth =
    QStringLiteral("Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!");

} // namespace

std::optional<QString> DateCheck::refusal(const QString &dateText, const QString &todayText)
{
    // Every part is taken up front as text; a part beyond the end of a short text is empty
    // (or as much of it as there is), so nothing below can fail on a short or odd text.
    const QString enteredYear = dateText.right(4);
    const QString enteredDay = dateText.left(2);
    const QString enteredMonth = dateText.mid(3, 2);
    const QString firstSeparator = dateText.mid(2, 1);
    const QString secondSeparator = dateText.mid(5, 1);
    const QString currentYear = todayText.right(4);
    const QString today = todayText.left(2);
    const QString currentMonth = todayText.mid(3, 2);
    const QString dot = QStringLiteral(".");

    if (dateText.isEmpty())
        return noDate;
    if (dateText.size() < 10)
        return notFullLength;
    if (firstSeparator != dot || secondSeparator != dot)
        return wrongSeparator;

    // The year tests compare texts: for four digits that is the numeric order.
    if (enteredYear > currentYear)
        return inFuture;
    if (enteredYear == currentYear &&
        (enteredMonth > currentMonth || (enteredMonth == currentMonth && enteredDay > today)))
        return inFuture;
    if (enteredYear < QStringLiteral("1900"))
        return before1900;
    if (dateText.size() != 10 || !isDigits(enteredYear, 4))
        return wrongFormat;

    // Day and month are two digits each: number reading alone would also take " 1", ".1" or "+1",
    // and the log would then keep a date that is not in the day.month.year form.
    const std::optional<double> day = NumberText::read(enteredDay);
    if (!day || !isDigits(enteredDay, 2))
        return dayNotNumeric;
    if (*day < 1)
        return dayBelowOne;
    if (*day > 31)
        return dayAbove31;

    const std::optional<double> month = NumberText::read(enteredMonth);
    if (!month || !isDigits(enteredMonth, 2))
        return monthNotNumeric;
    if (*month < 1)
        return monthBelowOne;
    if (*month > 12)
        return monthAbove12;

    // A day from 1 to 31 and a month from 1 to 12 still need not make a day of the calendar.
    if (!QDate(enteredYear.toInt(), static_cast<int>(*month), static_cast<int>(*day)).isValid())
        return dayNotInMonth;
    return std::nullopt;
}

} // namespace core

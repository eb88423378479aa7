// The strict check of a fill-up date typed into the editor: day.month.year with ten characters,
// a real calendar day, not after today and not before 1900. Pure text logic, so that the window
// only shows the answer and fuzzers can drive it directly.
#pragma once

#include <QString>
#include <optional>

class DateCheck {
public:
    // The refusal message for `dateText`, or nothing when the date is accepted. `todayText` is
    // today's date as "dd.MM.yyyy". The tests run in a fixed order and the first one that fails
    // gives the message.
    static std::optional<QString> refusal(const QString &dateText, const QString &todayText);

    // Today's day as its two characters, which the editor keeps in its Tag.
    static QString currentDay(const QString &todayText);

    // The messages, word for word as the user sees them.
    static QString noDate();
    static QString notFullLength();
    static QString wrongSeparator();
    static QString inFuture();
    static QString before1900();
    static QString wrongFormat();
    static QString dayNotNumeric();
    static QString dayBelowOne();
    static QString dayAbove31();
    static QString monthNotNumeric();
    static QString monthBelowOne();
    static QString monthAbove12();
    static QString dayNotInMonth();
};

// The strict check of a fill-up date typed into the editor: day.month.year with ten characters,
// a real calendar day, not after today and not before 1900. Pure text logic, so that the window
// only shows the answer and fuzzers can drive it directly.
#pragma once

#include <QString>
#include <optional>

namespace core {

class DateCheck {
public:
    // The refusal message for `dateText`, or nothing when the date is accepted. `todayText` is
    // today's date as "dd.MM.yyyy". The tests run in a fixed order and the first one that fails
    // gives the message.
    static std::optional<QString> refusal(const QString &dateText, const QString &todayText);
};

} // namespace core

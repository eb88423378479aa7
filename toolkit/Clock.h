// Today's date for the program, as the German short-date text "dd.MM.yyyy". Tests fix the day.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace toolkit {

class Clock {
public:
    static QDate today();
    static QString todayText();

    // A fixed day for tests; std::nullopt returns to the system clock.
    static void setFixedToday(std::optional<QDate> day);
};

} // namespace toolkit

// The main window over a log of the test's own, shown, with today fixed.
#pragma once

#include "CalculatorWindow.h"
#include "Clock.h"
#include "TestLog.h"
#include "User.h"

#include <QApplication>
#include <QPushButton>

class Program {
public:
    TestLog log;
    calculator::CalculatorWindow main;

    explicit Program(QDate today = QDate(2026, 12, 7))
    {
        toolkit::Clock::setFixedToday(today);
        main.show();
    }
    ~Program() { toolkit::Clock::setFixedToday(std::nullopt); }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    static void click(QWidget *window, const char *button)
    {
        QTest::mouseClick(user::control<QPushButton>(window, button), Qt::LeftButton);
    }

    // Types the litres and kilometres into their boxes and presses the calculate button.
    void calculate(const QString &litres, const QString &kilometres)
    {
        user::control(&main, "litres")->setFocus();
        QTest::keyClicks(user::control(&main, "litres"), litres);
        QTest::keyClicks(user::control(&main, "kilometres"), kilometres);
        click(&main, "calculate");
    }
};

// Times what a program window does when the user comes back to it: a second window is shown
// beside it, and each switch makes that one active and then the measured window again, the way
// a user's click does.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

class WindowSwitch {
public:
    // `name` names the window in the message printed when it never became active.
    WindowSwitch(QWidget &window, const char *name) : m_window(window)
    {
        m_other.resize(100, 100);
        m_other.show();
        m_window.show();
        m_window.activateWindow();
        m_ready = QTest::qWaitForWindowActive(&m_window);
        if (!m_ready)
            std::printf("%s: window could not be activated\n", name);
    }

    // False when the window never became active: no figure can be taken then.
    bool ready() const { return m_ready; }

    void leave() { QApplication::setActiveWindow(&m_other); }

    // Makes the window active again; the milliseconds its activation took.
    double returnMs()
    {
        QElapsedTimer timer;
        timer.start();
        QApplication::setActiveWindow(&m_window);
        return timer.nsecsElapsed() / 1e6;
    }

    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    // Runs a window's measurement on logs of 10,000, 100,000 and 1,000,000 entries, with fewer
    // runs for the bigger logs.
    static int atLogSizes(int argc, char **argv, const std::function<void(int entries, int runs)> &measure)
    {
        QApplication app(argc, argv);
        measure(10000, 21);
        measure(100000, 11);
        measure(1000000, 5);
        return 0;
    }

private:
    QWidget &m_window;
    QWidget m_other;
    bool m_ready = false;
};

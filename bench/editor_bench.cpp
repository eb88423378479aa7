// How long the entry editor takes to re-read its log and move to the chosen entry when it
// becomes the active window, for entries near the end of growing logs. Prints the median of
// several runs.
#include "Bearbeiten1.h"
#include "TestLog.h"
#include "WindowSwitch.h"

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <vector>

namespace {

void measure(int entries, int runs)
{
    TestLog log;
    log.appendMany(QStringLiteral("Auto"), entries);

    int position = entries - 2;
    Bearbeiten1 editor([] { return QStringLiteral("Auto"); }, [&position] { return QVariant(position); });
    WindowSwitch user(editor);
    if (!user.ready()) {
        std::printf("editor: window could not be activated\n");
        return;
    }
    auto *kilometres = editor.findChild<QLineEdit *>(QStringLiteral("Text4"));

    // The overview chooses one of the last three entries and shows the editor again.
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        user.leave();
        position = entries - 1 - run % 3;
        times.push_back(user.returnMs());
        // Entry n of the generated log has driven n + 1 kilometres.
        if (kilometres->text() != QString::number(position + 1) || !editor.isVisible()) {
            std::printf("editor: activation did not show entry %d\n", position);
            return;
        }
    }
    std::printf("editor activation near the end, %9d entries: median %8.2f ms  (%d runs)\n", entries,
                WindowSwitch::median(times), runs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    measure(10000, 21);
    measure(100000, 11);
    measure(1000000, 5);
    return 0;
}

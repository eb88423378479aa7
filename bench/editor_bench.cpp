// How long the entry editor takes to re-read its log and move to the chosen entry when it
// becomes the active window, for entries near the end of growing logs. Prints the median of
// several runs.
#include "EntryEditorWindow.h"
#include "TestLog.h"
#include "WindowSwitch.h"

#include <QLineEdit>
#include <cstdio>
#include <vector>

namespace {

void measure(int entries, int runs)
{
    TestLog log;
    log.appendMany(QStringLiteral("Auto"), entries);

    int position = entries - 2;
    editor::EntryEditorWindow editor([] { return QStringLiteral("Auto"); },
                                     [&position] { return std::optional(position); });
    WindowSwitch user(editor, "editor");
    if (!user.ready())
        return;
    auto *kilometres = editor.findChild<QLineEdit *>(QStringLiteral("kilometres"));

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
    return WindowSwitch::atLogSizes(argc, argv, measure);
}

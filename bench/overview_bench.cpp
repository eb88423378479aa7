// How long the overview window takes to re-read its log when it becomes the active window,
// and to show the end of a long log, at growing log sizes. Prints the median of several runs.
#include "DataControl.h"
#include "OverviewWindow.h"
#include "TestLog.h"
#include "WindowSwitch.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTableView>
#include <cstdio>
#include <vector>

namespace {

constexpr auto median = &WindowSwitch::median;

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void measure(int entries, int runs)
{
    TestLog log;
    log.appendMany(QStringLiteral("Auto"), entries);

    overview::OverviewWindow window([] { return QStringLiteral("Auto"); });
    WindowSwitch user(window, "overview");
    if (!user.ready())
        return;
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grid"));
    auto *kilometres = window.findChild<QLabel *>(QStringLiteral("totalKilometres"));

    // The user switches to another window and back: the activation steps run.
    std::vector<double> activation;
    for (int run = 0; run < runs; ++run) {
        user.leave();
        kilometres->clear();
        activation.push_back(user.returnMs());
        if (kilometres->text().isEmpty() || grid->model()->rowCount() != entries) {
            std::printf("overview: activation did not read the log\n");
            return;
        }
    }

    // The share of the two re-reads of the data control in the activation.
    std::vector<double> reads;
    for (int run = 0; run < runs; ++run) {
        logstore::DataControl data;
        data.setDatabaseName(log.path());
        QElapsedTimer timer;
        timer.start();
        data.setRecordSource(QStringLiteral("Autogesamt"));
        data.refresh();
        data.setRecordSource(QStringLiteral("Auto"));
        data.refresh();
        reads.push_back(elapsedMs(timer));
    }

    // Jumping to the last entry and drawing the grid there.
    std::vector<double> scroll;
    for (int run = 0; run < runs; ++run) {
        grid->scrollToTop();
        QElapsedTimer timer;
        timer.start();
        grid->scrollToBottom();
        grid->viewport()->grab();
        scroll.push_back(elapsedMs(timer));
    }

    std::printf("overview activation, %9d entries: median %8.2f ms  (%d runs)\n", entries, median(activation),
                runs);
    std::printf("  of which totals and log read, %7d entries: median %8.2f ms\n", entries, median(reads));
    std::printf("overview scroll to end, %7d entries: median %8.2f ms  (%d runs)\n", entries, median(scroll),
                runs);
}

} // namespace

int main(int argc, char **argv)
{
    return WindowSwitch::atLogSizes(argc, argv, measure);
}

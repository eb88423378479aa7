// Timings of the log store: one recording, a refresh with positioning on large logs, the summary
// view, and the peak memory. Prints one line per measurement (median of several runs).
// Usage: logstore_bench [largest log size, default 1000000]
#include "DataControl.h"
#include "Database.h"
#include "TestLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()> &body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int largest = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const QString table = QStringLiteral("Auto");

    {
        TestLog log;
        const double ms = medianMs(21, [&] {
            logstore::Database db = logstore::Database::open(log.path());
            logstore::RowAppender records = db.openAppender(table);
            records.addNew();
            records.setField(QStringLiteral("Datum"), QStringLiteral("06.12.2024"));
            records.setField(QStringLiteral("Gefahrene Kilometer"), QStringLiteral("600"));
            records.setField(QStringLiteral("Getankte Liter"), QStringLiteral("45,5"));
            records.setField(QStringLiteral("Verbrauch auf 100 km in Liter"), QStringLiteral("7,58"));
            records.update();
        });
        std::printf("recording (open, addNew, 4 fields, update, close): %.2f ms\n", ms);
        // The same without storing: what remains of the above is the engine's commit, whose
        // fsync calls (synchronous=FULL, for a row that survives a crash) depend on the disk.
        const double withoutStoreMs = medianMs(21, [&] {
            logstore::Database db = logstore::Database::open(log.path());
            logstore::RowAppender records = db.openAppender(table);
            records.addNew();
            records.setField(QStringLiteral("Gefahrene Kilometer"), QStringLiteral("600"));
        });
        std::printf("  of which open, addNew, field, close without update: %.2f ms\n", withoutStoreMs);
    }

    for (int rows : {10000, 100000, 1000000}) {
        if (rows > largest)
            break;
        TestLog log;
        log.appendMany(table, rows);
        const long before = peakKilobytes();
        logstore::DataControl control;
        control.setDatabaseName(log.path());
        control.setRecordSource(table);
        const int runs = rows >= 1000000 ? 5 : 11;
        const double refreshMs = medianMs(runs, [&] {
            control.refresh();
            control.moveLast();
            control.setAbsolutePosition(control.recordCount() / 2);
        });
        const long after = peakKilobytes();
        std::printf(
            "refresh + moveLast + middle position, %7d rows: %8.2f ms (peak memory %ld kB, +%ld kB)\n", rows,
            refreshMs, after, after - before);
        logstore::DataControl summary;
        summary.setDatabaseName(log.path());
        summary.setRecordSource(QStringLiteral("Autogesamt"));
        const double viewMs = medianMs(runs, [&] {
            summary.refresh();
            summary.field(0);
            summary.field(1);
        });
        std::printf("summary view Autogesamt,           %7d rows: %8.2f ms (total km %s)\n", rows, viewMs,
                    qPrintable(summary.field(0)));
    }
    std::printf("peak memory (ru_maxrss): %ld kB\n", peakKilobytes());
    return 0;
}

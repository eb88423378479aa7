// Two copies of the program recording into one log at the same time, each as fast as it can,
// while a third reads the log as the overview does at each activation (summary view, then the
// log). Each is a process of its own that opens the file the way the program does. Prints the
// recordings and reads, their failures and the longest one of each, and checks the file
// afterwards: every recording reported as stored is there exactly once, no failed one is.
// Usage: twowriters_bench [recordings per writer, default 1000]
#include "DataControl.h"
#include "Database.h"
#include "Failure.h"
#include "LogNames.h"
#include "RowAppender.h"
#include "TestLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// What one process did: how often, how many failed and why, and how long the single ones took.
struct Tally {
    int done = 0;
    int failed = 0;
    QMap<QString, int> reasons; // the last line of each failure message
    std::vector<double> ms;
    QList<int> failedKm; // writers only: the kilometres of the recordings that failed

    // Runs one recording or read; false when it failed. Failures are timed too: a give-up after
    // the busy timeout is the longest wait of all.
    bool time(const std::function<void()> &body)
    {
        QElapsedTimer timer;
        timer.start();
        bool ok = true;
        try {
            body();
            ++done;
        } catch (const core::Failure &failure) {
            ++failed;
            ++reasons[failure.message().split(QStringLiteral("\r\n")).last()];
            ok = false;
        }
        ms.push_back(timer.nsecsElapsed() / 1e6);
        return ok;
    }
    void print(const char *what) const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&](double share) {
            return sorted.empty() ? 0.0 : sorted[std::min(sorted.size() - 1, size_t(share * sorted.size()))];
        };
        std::printf("%s %d %d %.2f %.2f %.2f", what, done, failed, at(0.5), at(0.99), at(1.0));
        for (int km : failedKm)
            std::printf(" %d", km);
        std::printf("\n");
        for (auto reason = reasons.begin(); reason != reasons.end(); ++reason)
            std::printf("reason %d %s\n", reason.value(), qUtf8Printable(reason.key()));
        std::fflush(stdout);
    }
};

int write(const QString &path, int first, int count)
{
    Tally tally;
    for (int km = first; km < first + count; ++km) {
        // Timed from the opening of the file to its release, as one click on "Berechnen".
        const bool stored = tally.time([&] {
            logstore::Database database = logstore::Database::open(path);
            logstore::RowAppender records = database.openAppender(QStringLiteral("Auto"));
            records.addNew();
            records.setField(core::LogNames::date(), QStringLiteral("01.01.2024"));
            records.setField(core::LogNames::kilometres(), QString::number(km));
            records.setField(core::LogNames::litres(), QStringLiteral("45,5"));
            records.setField(core::LogNames::consumption(), QStringLiteral("7,58"));
            records.update();
        });
        if (!stored)
            tally.failedKm << km;
    }
    tally.print("writer");
    return 0;
}

int read(const QString &path, const QString &stopFile)
{
    Tally tally;
    logstore::DataControl data;
    data.setDatabaseName(path);
    while (!QFileInfo::exists(stopFile)) {
        tally.time([&] {
            data.setRecordSource(QStringLiteral("Autogesamt"));
            data.refresh();
            data.field(0);
            data.setRecordSource(QStringLiteral("Auto"));
            data.refresh();
            data.moveLast();
        });
    }
    tally.print("reader");
    return 0;
}

// The figures a child printed, and its reasons as they came.
struct Report {
    QStringList figures;
    QStringList reasons;
};

Report report(QProcess &child)
{
    child.waitForFinished(-1);
    Report result;
    for (const QString &line :
         QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u"reason "))
            result.reasons << line.mid(7);
        else
            result.figures = line.split(u' ');
    }
    return result;
}

void show(const QString &who, const Report &r)
{
    if (r.figures.size() < 6) {
        std::printf("%s: no figures\n", qUtf8Printable(who));
        return;
    }
    std::printf("%-9s %6s done, %4s failed; median %7s ms, 99%% %8s ms, worst %8s ms\n", qUtf8Printable(who),
                qUtf8Printable(r.figures[1]), qUtf8Printable(r.figures[2]), qUtf8Printable(r.figures[3]),
                qUtf8Printable(r.figures[4]), qUtf8Printable(r.figures[5]));
    for (const QString &reason : r.reasons)
        std::printf("          failures: %s\n", qUtf8Printable(reason));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"--writer")
        return write(args[2], args[3].toInt(), args[4].toInt());
    if (args.size() == 4 && args[1] == u"--reader")
        return read(args[2], args[3]);

    const int count = args.size() > 1 ? args[1].toInt() : 1000;
    TestLog log;
    const QString stopFile = log.dir() + QStringLiteral("/stop");
    QProcess writers[2];
    for (int i = 0; i < 2; ++i)
        writers[i].start(
            app.applicationFilePath(),
            {"--writer", log.path(), QString::number((i + 1) * 1000000), QString::number(count)});
    QProcess reader;
    reader.start(app.applicationFilePath(), {"--reader", log.path(), stopFile});
    QElapsedTimer wall;
    wall.start();
    const Report first = report(writers[0]);
    const Report second = report(writers[1]);
    const double seconds = wall.elapsed() / 1000.0;
    QFile(stopFile).open(QIODevice::WriteOnly);
    const Report readerReport = report(reader);

    const QList<QVariantList> modes = TestLog::query(log.path(), QStringLiteral("PRAGMA journal_mode"));
    std::printf("two writers of %d recordings each and one reader, %.1f s, journal mode %s\n", count, seconds,
                qPrintable(modes.value(0).value(0).toString()));
    show(QStringLiteral("writer 1"), first);
    show(QStringLiteral("writer 2"), second);
    show(QStringLiteral("reader"), readerReport);

    // Every recording reported as stored is in the file once; none reported as failed is.
    QSet<int> failed;
    for (const Report *r : {&first, &second})
        for (const QString &km : r->figures.mid(6))
            failed.insert(km.toInt());
    QMap<int, int> stored;
    const QList<QVariantList> rows =
        TestLog::query(log.path(), QStringLiteral("SELECT \"Gefahrene Kilometer\" FROM \"Auto\""));
    for (const QVariantList &row : rows)
        ++stored[row.at(0).toInt()];
    int wrong = 0;
    for (int writer = 1; writer <= 2; ++writer) {
        for (int km = writer * 1000000; km < writer * 1000000 + count; ++km)
            wrong += stored.value(km) != (failed.contains(km) ? 0 : 1);
    }
    const QString integrity =
        TestLog::query(log.path(), QStringLiteral("PRAGMA integrity_check")).value(0).value(0).toString();
    std::printf("file: %lld rows, %d recordings not as reported, integrity %s\n",
                static_cast<long long>(rows.size()), wrong, qPrintable(integrity));
    return wrong == 0 && integrity == u"ok" ? 0 : 1;
}

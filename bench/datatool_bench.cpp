// Benchmark of tankverzehr-daten, run as the built executable: export and import of 10,000,
// 100,000 and 1,000,000 entries, an import that finds every row already in the log, the report of
// 10,000 and 100,000 entries, and a 200 MB file. Prints the median wall time and CPU time of three
// runs (on a busy machine the CPU time is the steadier figure) and the peak memory (maximum
// resident set) of the tool's process, taken from wait4().
#include "TestLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Run {
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of the tool's process
    double peakMiB = 0;
    int exitCode = -1;
};

// One run of a program, its output thrown away.
Run runProgram(const QString &program, const QStringList &arguments)
{
    std::vector<QByteArray> bytes{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.peakMiB = usage.ru_maxrss / 1024.0;
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

Run runTool(const QStringList &arguments)
{
    return runProgram(QStringLiteral(DATATOOL_PATH), arguments);
}

// Median times and largest peak of the runs; prepare runs before each. Gives the median wall time,
// 0 when a run failed.
double measure(const QString &what, const std::function<QStringList()> &prepare, int count = 3,
               const QString &program = QStringLiteral(DATATOOL_PATH))
{
    std::vector<Run> runs;
    for (int i = 0; i < count; ++i) {
        const Run run = runProgram(program, prepare());
        if (run.exitCode != 0) {
            std::printf("%-58s failed (exit %d)\n", qPrintable(what), run.exitCode);
            return 0;
        }
        runs.push_back(run);
    }
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    const double peak = std::max_element(runs.begin(), runs.end(), [](const Run &a, const Run &b) {
                            return a.peakMiB < b.peakMiB;
                        })->peakMiB;
    std::vector<double> cpu;
    for (const Run &run : runs)
        cpu.push_back(run.cpuSeconds);
    std::sort(cpu.begin(), cpu.end());
    const size_t median = runs.size() / 2;
    std::printf("%-58s %8.3f s   cpu %7.3f s   peak %6.1f MiB\n", qPrintable(what), runs[median].seconds,
                cpu[median], peak);
    std::fflush(stdout);
    return runs[median].seconds;
}

// Entries with dates spread over 24 years, every one a calendar day in the past, and plausible:
// the consumption (5,00 to 7,99) first, the litres from it, so that litres and kilometres give it.
void fill(const QString &path, const QString &table, int count)
{
    TestLog::query(
        path,
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ? - 1), "
                       "v(i, km, c) AS (SELECT i, 300 + i % 400, (500 + i % 300) / 100.0 FROM n) "
                       "INSERT INTO \"%1\" SELECT printf('%02d.%02d.%04d', i % 28 + 1, (i / 28) % 12 + 1, "
                       "2000 + (i / 336) % 24), km, c * km / 100.0, c FROM v")
            .arg(table),
        {count});
}

// A CSV file of about the given size in the format of our export, written directly.
void writeBigFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("Datum;Gefahrene Kilometer;Getankte Liter;Verbrauch auf 100 km in Liter\r\n");
    QByteArray block;
    for (qint64 i = 0; file.size() + block.size() < bytes; ++i) {
        char line[64];
        const long long kilometres = 300 + i % 400;
        const int size = std::snprintf(line, sizeof line, "%02lld.%02lld.%04lld;%lld;%lld,%03lld;7,5\r\n",
                                       i % 28 + 1, (i / 28) % 12 + 1, 2000 + (i / 336) % 24, kilometres,
                                       kilometres * 75 / 1000, kilometres * 75 % 1000);
        block.append(line, size);
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

// 100,000 rows side by side with the sqlite3 shell on the same files: the import of the same CSV
// file (decimal points, as both read it) into the same empty table, and the export of the same
// log as CSV to standard output. The tool checks every row it imports; the shell checks nothing.
void compareWithShell(const std::function<QString(const QString &)> &path)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        std::printf("sqlite3 shell missing: no comparison\n");
        return;
    }
    const int count = 100000;
    const int runs = 5;
    TestLog log;
    fill(log.path(), QStringLiteral("Auto"), count);
    const QString csv = path(QStringLiteral("vergleich.csv"));
    if (runTool({"export", "--log", log.path(), "--trennzeichen", ",", "--ziel", csv}).exitCode != 0) {
        std::printf("export for the comparison failed\n");
        return;
    }
    std::printf("\n%d entries beside the sqlite3 shell, median of %d runs:\n", count, runs);
    const double toolExport = measure(
        QStringLiteral("export: tankverzehr-daten export --trennzeichen ','"),
        [&] {
            return QStringList{"export", "--log", log.path(), "--trennzeichen", ","};
        },
        runs);
    const double shellExport = measure(
        QStringLiteral("export: sqlite3 -csv ... SELECT"),
        [&] {
            return QStringList{"-csv", log.path(), QStringLiteral("SELECT * FROM \"Auto\" ORDER BY rowid")};
        },
        runs, shell);
    std::vector<std::unique_ptr<TestLog>> targets;
    const double toolImport = measure(
        QStringLiteral("import: tankverzehr-daten import"),
        [&] {
            targets.push_back(std::make_unique<TestLog>());
            return QStringList{"import", csv, "--fahrzeug", "Auto", "--log", targets.back()->path()};
        },
        runs);
    const double shellImport = measure(
        QStringLiteral("import: sqlite3 .import --csv"),
        [&] {
            targets.push_back(std::make_unique<TestLog>());
            return QStringList{targets.back()->path(),
                               QStringLiteral(".import --csv --skip 1 '%1' Auto").arg(csv)};
        },
        runs, shell);
    if (shellExport > 0 && shellImport > 0 && toolExport > 0 && toolImport > 0)
        std::printf("ratio to the sqlite3 shell: import %.2f (at most 1.5), export %.2f (at most 1.2)\n\n",
                    toolImport / shellImport, toolExport / shellExport);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const auto path = [&work](const QString &name) { return work.filePath(name); };
    std::printf(
        "tankverzehr-daten, median of 3 runs (the 200 MB file: one); peak = maximum resident set of the "
        "tool's process\n");
    measure(QStringLiteral("start-up only (hilfe)"), [] { return QStringList{"hilfe"}; });
    // "--big-only": just the 200 MB file; "--sqlite3-only": just the comparison with the shell.
    const bool bigOnly = app.arguments().contains(QStringLiteral("--big-only"));
    if (!bigOnly)
        compareWithShell(path);
    if (app.arguments().contains(QStringLiteral("--sqlite3-only")))
        return 0;

    for (const int count : bigOnly ? std::vector<int>{} : std::vector<int>{10000, 100000, 1000000}) {
        TestLog log;
        fill(log.path(), QStringLiteral("Auto"), count);
        const QString csv = path(QStringLiteral("export-%1.csv").arg(count));
        measure(QStringLiteral("export %1 entries").arg(count), [&] {
            QFile::remove(csv);
            return QStringList{"export", "--log", log.path(), "--ziel", csv};
        });
        std::vector<std::unique_ptr<TestLog>> targets;
        measure(QStringLiteral("import %1 entries into an empty log").arg(count), [&] {
            targets.push_back(std::make_unique<TestLog>());
            return QStringList{"import", csv, "--fahrzeug", "Auto", "--log", targets.back()->path()};
        });
        if (count != 100000)
            continue;
        measure(QStringLiteral("import %1 entries, all already in the log").arg(count),
                [&] { return QStringList{"import", csv, "--fahrzeug", "Auto", "--log", log.path()}; });
        // The same rows without their consumption, which the import then computes and cuts.
        const QString computed = path(QStringLiteral("ohne-verbrauch.csv"));
        QFile in(csv);
        QFile out(computed);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        out.write(in.readLine());
        while (!in.atEnd()) {
            const QByteArray line = in.readLine();
            out.write(line.left(line.lastIndexOf(';') + 1) + "\r\n");
        }
        out.close();
        measure(QStringLiteral("import %1 entries, consumption computed").arg(count), [&] {
            targets.push_back(std::make_unique<TestLog>());
            return QStringList{"import", computed, "--fahrzeug", "Auto", "--log", targets.back()->path()};
        });
    }

    for (const int count : bigOnly ? std::vector<int>{} : std::vector<int>{10000, 100000}) {
        TestLog log;
        fill(log.path(), QStringLiteral("Auto"), count);
        const QString pdf = path(QStringLiteral("bericht-%1.pdf").arg(count));
        measure(QStringLiteral("report of %1 entries").arg(count), [&] {
            QFile::remove(pdf);
            return QStringList{"bericht", "--log", log.path(), "--ziel", pdf};
        });
    }

    const QString big = path(QStringLiteral("gross.csv"));
    writeBigFile(big, 200LL * 1000 * 1000);
    const QString megabytes = QString::number(QFileInfo(big).size() / 1e6, 'f', 0);
    TestLog log;
    measure(
        QStringLiteral("import --probelauf of a %1 MB file").arg(megabytes),
        [&] { return QStringList{"import", big, "--fahrzeug", "Auto", "--probelauf", "--log", log.path()}; },
        1);
    std::vector<std::unique_ptr<TestLog>> targets;
    measure(
        QStringLiteral("import of a %1 MB file into an empty log").arg(megabytes),
        [&] {
            targets.clear();
            targets.push_back(std::make_unique<TestLog>());
            return QStringList{"import", big, "--fahrzeug", "Auto", "--log", targets.back()->path()};
        },
        1);
    return 0;
}

// Runs the built tankverzehr-daten as a user would, and fills test logs the way the program does:
// through the log store's recording API.
#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class DataToolProcess {
public:
    struct Result {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // Where the tool's standard output goes: read by the test, a full device, or a pipe whose
    // reader is gone.
    enum class Output { Captured, FullDevice, ClosedPipe };

    // The built tankverzehr-daten, beside its report program.
    static QString builtProgram();

    static Result run(const QStringList &arguments,
                      const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                      Output output = Output::Captured, const QString &program = builtProgram());

    // Appends each row (Datum, Gefahrene Kilometer, Getankte Liter, Verbrauch auf 100 km in Liter)
    // with addNew, setField and update, as the calculator records a result.
    static void record(const QString &logPath, const QString &table, const QList<QStringList> &rows);

    static void writeFile(const QString &path, const QByteArray &bytes);

    // The bytes of a test file of tests/datatool/dateien, such as "libreoffice/export.csv".
    static QByteArray testFile(const QString &name);
};

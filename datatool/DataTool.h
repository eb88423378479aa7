// Runs one command of tankverzehr-daten: hands it to the class that does it, prints the result to
// standard output and each failure, in German, to standard error, and gives the exit code.
#pragma once

#include "CommandLine.h"

#include <QTextStream>

namespace datatool {

class OutputDevice;

class DataTool {
public:
    enum ExitCode { Success = 0, Failed = 1, WrongUsage = 2 };

    // programFolder: where the program lies, for the default log beside it. A failed write to
    // standardOutput fails the command, however it went otherwise.
    static int run(const CommandLine &line, const QString &programFolder, OutputDevice &standardOutput,
                   QTextStream &err);

private:
    struct Result {
        int code = Success;
        QString message;
    };

    static Result execute(const CommandLine &line, const QString &logPath, QTextStream &out,
                          OutputDevice &standardOutput);
    static Result check(const QString &logPath, bool verbose, QTextStream &out);
    static QString todayText();
};

} // namespace datatool

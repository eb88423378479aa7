// The command "export": one vehicle log in stored order as CSV, headed by the four field names.
// Dates as stored; numbers as the program writes them, with a decimal point in ',' files.
#pragma once

#include <QIODevice>
#include <QString>

namespace datatool {

class LogExport {
public:
    // Writes to target (a new file) or, when target is empty, to standardOutput, whose failures
    // its owner checks; returns the number of entries. Throws core::Failure: log missing, locked
    // or damaged, target exists or cannot be written.
    static qint64 run(const QString &logPath, const QString &table, const QString &target, char separator,
                      QIODevice &standardOutput);
};

} // namespace datatool

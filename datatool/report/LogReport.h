// The command "bericht": reads the report's data from the log and paints it into a new PDF file.
#pragma once

#include <QDate>
#include <QString>

namespace datatool {

class LogReport {
public:
    // In folder: Verbrauchsbericht-Auto-JJJJ-MM-TT.pdf, and -2, -3 ... when that exists.
    static QString defaultTarget(const QString &table, const QString &folder, const QDate &day);

    // Writes the report of the vehicle log to target, which must not exist; returns what was
    // written, in German. Throws core::Failure; no file is left at target then.
    static QString run(const QString &logPath, const QString &table, const QString &target,
                       const QString &todayText);
};

} // namespace datatool

// The command "sichern": a consistent copy of the log made by the database engine (VACUUM INTO),
// also while the program has the log open, checked before it is given its name. Never
// overwrites a file.
#pragma once

#include <QDate>
#include <QString>

namespace datatool {

class LogBackup {
public:
    // Beside the log: Verbrauch-JJJJ-MM-TT.mdb, and -2, -3 ... when that exists. A folder as
    // target gets the same name inside it.
    static QString defaultTarget(const QString &logPath, const QString &folder, const QDate &day);

    // Copies the log to target (which must not exist) and returns what was saved, in German.
    // Throws core::Failure when the log cannot be read or the copy fails its check; no file is
    // left at target then.
    static QString run(const QString &logPath, const QString &target);
};

} // namespace datatool

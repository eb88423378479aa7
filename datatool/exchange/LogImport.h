// The command "import": appends the rows of a CSV file to a vehicle log, all or none, in one
// transaction. The file is read twice, block by block: once to tell its encoding, once to check
// and store each row as it comes, so memory stays flat for any size of file.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace datatool {

class LogImport {
public:
    struct Options {
        QString logPath;
        QString table;
        QString file;
        QDate today; // no date after it is taken
        bool dryRun = false;
        bool allowDuplicates = false;
        bool takeImplausible = false;
    };

    struct Summary {
        qint64 stored = 0;        // stored, or to be stored in a dry run
        qint64 duplicates = 0;    // rows left out because the log held them already
        qint64 implausible = 0;   // stored although implausible
        qint64 twoDigitYears = 0; // dates given with a two-digit year
        QStringList leftOut;      // columns of the file the log has no field for
        QDate first;
        QDate last;
        double kilometres = 0;
        double litres = 0;
    };

    // Throws core::Failure for the first problem: the log, the file, its header or a row. Then
    // nothing is stored.
    static Summary run(const Options &options);

    // What was stored (or would be), in German.
    static QString describe(const Summary &summary, const Options &options);
};

} // namespace datatool

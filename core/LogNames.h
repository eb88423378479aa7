// The fixed names of the log: its database file, the two vehicle logs, their summary views and
// the four fields of a log entry. These are the only names that ever reach an SQL statement, so
// a name typed or chosen anywhere in the program can never change what a statement does.
#pragma once

#include <QString>
#include <QStringList>

namespace core {

class LogNames {
public:
    // The database file beside the program, and its path in a folder.
    static QString fileName();
    static QString pathIn(const QString &folder);

    // The vehicles, which are also the names of their logs.
    static QString car();
    static QString motorcycle();
    static const QStringList &tables();
    // In the order of the tables: each view adds up the log at the same place.
    static const QStringList &views();
    // The summary view read for a vehicle: the car's for exactly "Auto", the motorcycle's for
    // every other name.
    static QString summaryOf(const QString &vehicle);
    // The vehicle log a summary view adds up ("Autogesamt": "Auto"); throws for another name.
    static QString tableOf(const QString &view);

    // The fields of a log entry, and all four in the order of the columns of a log.
    static QString date();
    static QString kilometres();
    static QString litres();
    static QString consumption();
    static const QStringList &fields();

    // The name in double quotes for SQL; throws core::Failure for a name not of the log.
    static QString quoted(const QString &name);
    // The four fields in double quotes, in their order, as the column list of an SQL statement.
    static QString quotedFields();

    static bool isTable(const QString &name);
    static bool isView(const QString &name);
};

} // namespace core

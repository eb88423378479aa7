// The fixed names of the log database: its two vehicle logs, their summary views and the four
// fields of a log entry. These are the only names that ever reach an SQL statement, so a name
// typed or chosen anywhere in the program can never change what a statement does.
#pragma once

#include <QString>
#include <QStringList>

namespace logstore {

class LogNames {
public:
    static const QStringList &tables();
    // In the order of the tables: each view adds up the log at the same place.
    static const QStringList &views();
    // In the order of the columns of a log.
    static const QStringList &fields();

    // The name in double quotes for SQL; throws toolkit::Failure for a name not in the lists above.
    static QString quoted(const QString &name);

    static bool isTable(const QString &name);
    static bool isView(const QString &name);
    // The vehicle log a summary view adds up ("Autogesamt": "Auto"); throws for another name.
    static QString tableOf(const QString &view);
};

} // namespace logstore

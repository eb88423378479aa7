// The command "pruefen": whether the log file is sound, holds the tables, fields and summary views
// the program needs, and whether every stored value meets the program's rules (the date as the
// editor's date check accepts it, the numbers as numbers, kilometres not 0). Each problem is
// reported as one German line naming table, row position, field and value; fill-ups that break
// no rule of the program but are implausible come as warnings, and the engine's own English
// words only as details.
#pragma once

#include "Connection.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace datatool {

class LogCheck {
public:
    enum class Kind { Problem, Warning, Detail };
    using Report = std::function<void(Kind kind, const QString &line)>;

    // The file's integrity and the tables, fields and views.
    static void structure(const logstore::Connection &connection, const Report &report);
    // The same, problems only; returns their number.
    static qint64 structure(const logstore::Connection &connection,
                            const std::function<void(const QString &problem)> &problems);

    // Every stored value of each complete vehicle log; todayText "dd.MM.yyyy" for the date check.
    static void values(const logstore::Connection &connection, const QString &todayText,
                       const Report &report);

    // "Auto 12 Einträge, Motorrad 3 Einträge".
    static QString entryCounts(const logstore::Connection &connection);

private:
    // The log's fields that the table lacks; nothing when there is no such table.
    static std::optional<QStringList> missingFields(const logstore::Connection &connection,
                                                    const QString &table);
    static void checkRows(const logstore::Connection &connection, const QString &table,
                          const QString &todayText, const Report &report);
    static QString objectType(const logstore::Connection &connection, const QString &name);
};

} // namespace datatool

// Appends fill-ups to a vehicle log inside the caller's transaction. Talks to the engine directly
// (one prepared statement, values bound as they are) when Qt's driver runs the engine this program
// is built against, since Qt's query layer costs several times the insert itself; otherwise goes
// through QSqlQuery.
#pragma once

#include "Connection.h"

#include <QSqlQuery>
#include <QString>
#include <array>

struct sqlite3_stmt;

namespace datatool {

class RowInserter {
public:
    // Throws core::Failure when the statement cannot be prepared.
    RowInserter(const logstore::Connection &connection, QSqlDatabase &db, const QString &table);
    ~RowInserter();
    RowInserter(const RowInserter &) = delete;
    RowInserter &operator=(const RowInserter &) = delete;

    // Throws core::Failure when the engine refuses the row.
    void insert(const QString &date, double kilometres, double litres, double consumption);

private:
    const logstore::Connection &m_connection;
    QString m_what;
    std::array<char, 16> m_asciiDate{}; // the bound date, read by the statement
    sqlite3_stmt *m_statement = nullptr;
    QSqlQuery m_query;
};

} // namespace datatool

#include "RowInserter.h"

#include "Failure.h"
#include "LogNames.h"

#include <QSqlError>
#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace datatool {

namespace {

QString insertStatement(const QString &table)
{
    using core::LogNames;
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)")
        .arg(LogNames::quoted(table), LogNames::quotedFields());
}

} // namespace

RowInserter::RowInserter(const logstore::Connection &connection, QSqlDatabase &db, const QString &table)
    : m_connection(connection),
      m_what(
          QStringLiteral("Die Einträge konnten nicht in der Tabelle \"%1\" gespeichert werden.").arg(table)),
      m_query(db)
{
    const QString sql = insertStatement(table);
    if (sqlite3 *engine = connection.engine()) {
        const int code = sqlite3_prepare_v2(engine, sql.toUtf8().constData(), -1, &m_statement, nullptr);
        if (code != SQLITE_OK)
            throw m_connection.failure(m_what, code);
        return;
    }
    if (!m_query.prepare(sql))
        throw m_connection.failure(m_what, m_query.lastError());
}

RowInserter::~RowInserter()
{
    sqlite3_finalize(m_statement);
}

void RowInserter::insert(const QString &date, double kilometres, double litres, double consumption)
{
    if (!m_statement) {
        m_query.bindValue(0, date);
        m_query.bindValue(1, kilometres);
        m_query.bindValue(2, litres);
        m_query.bindValue(3, consumption);
        if (!m_query.exec())
            throw m_connection.failure(m_what, m_query.lastError());
        return;
    }
    // A date text is ASCII: bound as the UTF-8 the file stores, so the engine converts nothing. The
    // bytes stay in m_asciiDate for as long as the statement may read them, so the engine need not
    // copy them.
    if (date.size() <= qsizetype(m_asciiDate.size()) &&
        std::all_of(date.begin(), date.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        std::transform(date.begin(), date.end(), m_asciiDate.begin(),
                       [](QChar c) { return static_cast<char>(c.unicode()); });
        sqlite3_bind_text(m_statement, 1, m_asciiDate.data(), static_cast<int>(date.size()), SQLITE_STATIC);
    } else {
        sqlite3_bind_text16(m_statement, 1, date.utf16(), static_cast<int>(date.size() * 2),
                            SQLITE_TRANSIENT);
    }
    sqlite3_bind_double(m_statement, 2, kilometres);
    sqlite3_bind_double(m_statement, 3, litres);
    sqlite3_bind_double(m_statement, 4, consumption);
    const int code = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    if (code != SQLITE_DONE)
        throw m_connection.failure(m_what, code);
}

} // namespace datatool

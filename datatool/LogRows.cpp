#include "LogRows.h"

#include "FieldValue.h"
#include "LogNames.h"
#include "NumberText.h"

#include <QScopeGuard>
#include <QSqlQuery>
#include <algorithm>
#include <sqlite3.h>

namespace datatool {

namespace {

// A column of the current row as Qt's driver gives it.
QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    default:
        break;
    }
    // ASCII, as dates are, is its own UTF-16; any other text goes through the engine's conversion
    // as with Qt's driver.
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    const int size = sqlite3_column_bytes(statement, column);
    if (std::all_of(bytes, bytes + size, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes, size);
    return QString(static_cast<const QChar *>(sqlite3_column_text16(statement, column)),
                   sqlite3_column_bytes16(statement, column) / 2);
}

} // namespace

void LogRows::forEach(const logstore::Connection &connection, const QString &table,
                      const std::function<void(const Entry &)> &visit)
{
    const QString what = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(table);
    const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                            .arg(core::LogNames::quotedFields(), core::LogNames::quoted(table));
    Entry entry;
    // Straight from the engine when it is there: Qt's query layer costs more than the reading.
    if (sqlite3 *engine = connection.engine()) {
        sqlite3_stmt *statement = nullptr;
        int code = sqlite3_prepare_v2(engine, sql.toUtf8().constData(), -1, &statement, nullptr);
        const auto finish = qScopeGuard([statement] { sqlite3_finalize(statement); });
        if (code != SQLITE_OK)
            throw connection.failure(what, code);
        while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
            ++entry.position;
            for (int i = 0; i < 4; ++i)
                entry.values[static_cast<size_t>(i)] = columnValue(statement, i);
            visit(entry);
        }
        if (code != SQLITE_DONE)
            throw connection.failure(what, code);
        return;
    }
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw connection.failure(what, query.lastError());
    while (query.next()) {
        ++entry.position;
        for (int i = 0; i < 4; ++i)
            entry.values[static_cast<size_t>(i)] = query.value(i);
        visit(entry);
    }
    if (query.lastError().isValid())
        throw connection.failure(what, query.lastError());
}

std::optional<double> LogRows::number(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (logstore::FieldValue::isNumber(value))
        return value.toDouble();
    return core::NumberText::read(value.toString());
}

} // namespace datatool

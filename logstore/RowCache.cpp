#include "RowCache.h"

#include "Connection.h"
#include "FieldValue.h"
#include "LogNames.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace logstore {

namespace {
constexpr int blockSize = 64;

QString readFailure(const QString &source)
{
    return QStringLiteral("\"%1\" kann nicht gelesen werden.").arg(source);
}
} // namespace

RowCache::RowCache(const Connection &connection, const QString &source)
    : m_connection(&connection), m_source(source)
{
    if (core::LogNames::isTable(source)) {
        connection.requireTable(source);
        m_fields = core::LogNames::fields();
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        if (!query.exec(
                QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(core::LogNames::quoted(source))))
            throw connection.failure(readFailure(source), query.lastError());
        while (query.next())
            m_ids.push_back(query.value(0).toLongLong());
        if (query.lastError().isValid())
            throw connection.failure(readFailure(source), query.lastError());
    } else if (core::LogNames::isView(source)) {
        connection.requireView(source);
        m_isView = true;
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(core::LogNames::quoted(source)))) {
            // A view over a missing or unfitting log fails in the engine's words; the check of
            // the log names what is wrong, where it finds it.
            const QSqlError error = query.lastError();
            connection.requireTable(core::LogNames::tableOf(source));
            throw connection.failure(readFailure(source), error);
        }
        const QSqlRecord record = query.record();
        if (record.count() < 2)
            throw core::Failure(
                QStringLiteral("Die Abfrage \"%1\" in der Datenbank \"%2\" liefert nicht die zwei "
                               "Summen, Kilometer und Liter.")
                    .arg(source, connection.path()));
        for (int i = 0; i < record.count(); ++i)
            m_fields << record.fieldName(i);
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < record.count(); ++i) {
                const QVariant value = query.value(i);
                // The two sums are numbers, or NULL for an empty log.
                if (i < 2 && !value.isNull() && !FieldValue::isNumber(value))
                    throw core::Failure(
                        QStringLiteral("Die Abfrage \"%1\" in der Datenbank \"%2\" liefert in "
                                       "ihrer Spalte %3 keine Zahl.")
                            .arg(source, connection.path())
                            .arg(i + 1));
                row << FieldValue::toText(value);
            }
            m_viewRows.push_back(row);
        }
        if (query.lastError().isValid())
            throw connection.failure(readFailure(source), query.lastError());
    } else {
        throw core::Failure(
            QStringLiteral("Die Tabelle oder Abfrage \"%1\" gibt es in der Datenbank \"%2\" nicht.")
                .arg(source, connection.path()));
    }
}

int RowCache::count() const
{
    return static_cast<int>(m_isView ? m_viewRows.size() : m_ids.size());
}

std::optional<QStringList> RowCache::readRow(int position) const
{
    if (m_isView)
        return m_viewRows.at(static_cast<size_t>(position));
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                      .arg(core::LogNames::quotedFields(), core::LogNames::quoted(m_source)));
    query.addBindValue(id(position));
    if (!query.exec())
        throw m_connection->failure(readFailure(m_source), query.lastError());
    if (!query.next())
        return std::nullopt;
    QStringList row;
    for (int i = 0; i < m_fields.size(); ++i)
        row << FieldValue::toText(query.value(i));
    m_cache.insert(id(position), new std::optional<QStringList>(row));
    return row;
}

std::optional<QStringList> RowCache::cachedRow(int position) const
{
    if (m_isView)
        return m_viewRows.at(static_cast<size_t>(position));
    if (const auto *hit = m_cache.object(id(position)))
        return *hit;
    readBlock(position, std::min(position + blockSize, count()) - 1);
    if (const auto *hit = m_cache.object(id(position)))
        return *hit;
    return std::nullopt;
}

void RowCache::readBlock(int first, int last) const
{
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid BETWEEN ? AND ? ORDER BY rowid")
                      .arg(core::LogNames::quotedFields(), core::LogNames::quoted(m_source)));
    query.addBindValue(id(first));
    query.addBindValue(id(last));
    if (!query.exec())
        throw m_connection->failure(readFailure(m_source), query.lastError());
    std::vector<std::pair<qint64, QStringList>> found;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < m_fields.size(); ++i)
            row << FieldValue::toText(query.value(i + 1));
        found.emplace_back(query.value(0).toLongLong(), row);
    }
    query.finish();
    // Rows of the block that are gone are remembered as gone, so that they are not read again.
    for (int position = first; position <= last; ++position)
        m_cache.insert(id(position), new std::optional<QStringList>());
    for (auto &[rowid, row] : found)
        m_cache.insert(rowid, new std::optional<QStringList>(std::move(row)));
}

void RowCache::removeAt(int position)
{
    m_cache.remove(id(position));
    m_ids.erase(m_ids.begin() + position);
}

void RowCache::forget(int position)
{
    if (!m_isView)
        m_cache.remove(id(position));
}

} // namespace logstore

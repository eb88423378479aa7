#include "Database.h"

#include "Connection.h"
#include "LogNames.h"

#include "Failure.h"

namespace logstore {

Database::Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}

Database Database::open(const QString &path)
{
    return Database(std::make_shared<Connection>(path));
}

Database::Database(Database &&other) noexcept = default;
Database &Database::operator=(Database &&other) noexcept = default;
Database::~Database() = default;

RowAppender Database::openAppender(const QString &table)
{
    if (!m_connection)
        throw core::Failure(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    if (!core::LogNames::isTable(table))
        throw core::Failure(QStringLiteral("Die Tabelle \"%1\" gibt es in der Datenbank \"%2\" nicht.")
                                .arg(table, m_connection->path()));
    m_connection->requireTable(table);
    return RowAppender(m_connection, table);
}

void Database::setBusyTimeout(int milliseconds)
{
    Connection::setBusyTimeout(milliseconds);
}

} // namespace logstore

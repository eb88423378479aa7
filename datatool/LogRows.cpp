#include "LogRows.h"

#include "FieldValue.h"
#include "LogNames.h"
#include "NumberText.h"

#include <QSqlQuery>

void LogRows::forEach(const logstore::Connection &connection, const QString &table,
                      const std::function<void(const Entry &)> &visit)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    const QString what = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(table);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                        .arg(core::LogNames::quotedFields(), core::LogNames::quoted(table))))
        throw connection.failure(what, query.lastError());
    Entry entry;
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

#include "Recordset.h"

#include "Connection.h"
#include "FieldValue.h"
#include "LogNames.h"

#include <QSqlQuery>

namespace logstore {

Recordset::Recordset(std::shared_ptr<Connection> connection, const QString &table)
    : m_connection(std::move(connection)), m_table(table)
{
    // The first row is current, as after opening any record set.
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT min(rowid) FROM %1").arg(LogNames::quoted(m_table))) ||
        !query.next())
        throw m_connection->failure(
            QStringLiteral("Die Tabelle \"%1\" kann nicht geöffnet werden.").arg(m_table), query.lastError());
    if (!query.value(0).isNull())
        m_bookmark = query.value(0).toLongLong();
}

Recordset::Recordset(Recordset &&other) noexcept = default;
Recordset &Recordset::operator=(Recordset &&other) noexcept = default;
Recordset::~Recordset() = default;

void Recordset::addNew()
{
    m_adding = true;
    m_values.fill(QVariant());
}

void Recordset::setField(const QString &field, const QString &text)
{
    const qsizetype index = LogNames::fields().indexOf(field);
    if (index < 0)
        throw toolkit::Failure(
            QStringLiteral("Das Feld \"%1\" gibt es in der Tabelle \"%2\" nicht.").arg(field, m_table));
    if (!m_adding)
        throw toolkit::Failure(QStringLiteral("Es wurde kein neuer Eintrag begonnen."));
    m_values[static_cast<size_t>(index)] = FieldValue::toStored(field, text);
}

void Recordset::update()
{
    if (!m_adding)
        throw toolkit::Failure(QStringLiteral("Es wurde kein neuer Eintrag begonnen."));
    const QString what =
        QStringLiteral("Der Eintrag konnte nicht in der Tabelle \"%1\" gespeichert werden.").arg(m_table);
    QStringList columns;
    for (const QString &field : LogNames::fields())
        columns << LogNames::quoted(field);
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)")
                            .arg(LogNames::quoted(m_table), columns.join(QStringLiteral(", ")));
    qint64 stored = -1;
    m_connection->write(what, [&](QSqlDatabase &db) {
        QSqlQuery insert(db);
        if (!insert.prepare(sql))
            throw m_connection->failure(what, insert.lastError());
        for (const QVariant &value : m_values)
            insert.addBindValue(value);
        if (!insert.exec())
            throw m_connection->failure(what, insert.lastError());
        stored = insert.lastInsertId().toLongLong();
    });
    m_lastModified = stored;
    m_adding = false;
    m_values.fill(QVariant());
}

void Recordset::cancelUpdate()
{
    m_adding = false;
    m_values.fill(QVariant());
}

void Recordset::setBookmark(qint64 bookmark)
{
    // The row stored last: its rowid came from inside its transaction, so it needs no read.
    if (bookmark == m_lastModified && bookmark >= 0) {
        m_bookmark = bookmark;
        return;
    }
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE rowid = ?").arg(LogNames::quoted(m_table)));
    query.addBindValue(bookmark);
    if (!query.exec() || !query.next())
        throw m_connection->failure(QStringLiteral("Der Eintrag kann nicht gelesen werden."),
                                    query.lastError());
    if (query.value(0).toInt() == 0)
        throw toolkit::Failure(
            QStringLiteral("Den gesuchten Eintrag gibt es in der Tabelle \"%1\" nicht.").arg(m_table));
    m_bookmark = bookmark;
}

QString Recordset::field(const QString &name) const
{
    if (!LogNames::fields().contains(name))
        throw toolkit::Failure(
            QStringLiteral("Das Feld \"%1\" gibt es in der Tabelle \"%2\" nicht.").arg(name, m_table));
    if (m_bookmark < 0)
        throw toolkit::Failure(QStringLiteral("Es gibt keinen aktuellen Eintrag."));
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                      .arg(LogNames::quoted(name), LogNames::quoted(m_table)));
    query.addBindValue(m_bookmark);
    if (!query.exec())
        throw m_connection->failure(QStringLiteral("Der Eintrag kann nicht gelesen werden."),
                                    query.lastError());
    if (!query.next())
        throw toolkit::Failure(QStringLiteral("Der aktuelle Eintrag ist nicht mehr vorhanden."));
    return FieldValue::toText(query.value(0));
}

} // namespace logstore

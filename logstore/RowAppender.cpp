#include "RowAppender.h"

#include "Connection.h"
#include "FieldValue.h"
#include "LogNames.h"

namespace logstore {

RowAppender::RowAppender(std::shared_ptr<Connection> connection, const QString &table)
    : m_connection(std::move(connection)), m_table(table)
{
}

RowAppender::RowAppender(RowAppender &&other) noexcept = default;
RowAppender &RowAppender::operator=(RowAppender &&other) noexcept = default;
RowAppender::~RowAppender() = default;

void RowAppender::addNew()
{
    m_adding = true;
    m_values.fill(QVariant());
}

void RowAppender::setField(const QString &field, const QString &text)
{
    const qsizetype index = core::LogNames::fields().indexOf(field);
    if (index < 0)
        throw core::Failure(
            QStringLiteral("Das Feld \"%1\" gibt es in der Tabelle \"%2\" nicht.").arg(field, m_table));
    if (!m_adding)
        throw core::Failure(QStringLiteral("Es wurde kein neuer Eintrag begonnen."));
    m_values[static_cast<size_t>(index)] = FieldValue::toStored(field, text);
}

void RowAppender::update()
{
    if (!m_adding)
        throw core::Failure(QStringLiteral("Es wurde kein neuer Eintrag begonnen."));
    m_connection->writeRow(
        QStringLiteral("Der Eintrag konnte nicht in der Tabelle \"%1\" gespeichert werden.").arg(m_table),
        QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)")
            .arg(core::LogNames::quoted(m_table), core::LogNames::quotedFields()),
        QVariantList(m_values.begin(), m_values.end()));
    m_adding = false;
    m_values.fill(QVariant());
}

} // namespace logstore

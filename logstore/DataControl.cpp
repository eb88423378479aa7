#include "DataControl.h"

#include "Connection.h"
#include "Failure.h"
#include "FieldValue.h"
#include "LogNames.h"
#include "RecordModel.h"
#include "RowCache.h"

#include <QFileInfo>

namespace logstore {

DataControl::DataControl(QObject *parent) : QObject(parent), m_model(new RecordModel(this)) {}

DataControl::~DataControl()
{
    m_model->beginReset();
    m_model->endReset(nullptr);
}

void DataControl::setDatabaseName(const QString &path)
{
    m_databaseName = path;
}

void DataControl::setRecordSource(const QString &name)
{
    m_recordSource = name;
}

void DataControl::refresh()
{
    std::unique_ptr<Connection> opened;
    const Connection *connection = m_connection.get();
    // An opening kept from the last refresh would go on reading (and writing into) a file that
    // has since been removed; a missing file must fail here as it does on a first opening.
    if (!m_connection || m_connection->path() != m_databaseName || !QFileInfo::exists(m_databaseName)) {
        opened = std::make_unique<Connection>(m_databaseName);
        connection = opened.get();
    }
    auto rows = std::make_unique<RowCache>(*connection, m_recordSource);
    const int first = rows->count() > 0 ? 0 : -1;
    std::optional<QStringList> current;
    if (first == 0)
        current = rows->readRow(0);

    // Everything is read; from here on nothing throws.
    m_model->beginReset();
    std::unique_ptr<RowCache> old = std::move(m_rows);
    m_rows = std::move(rows);
    if (opened)
        m_connection = std::move(opened);
    m_model->endReset(m_rows.get());
    old.reset();
    m_position = first;
    m_current = std::move(current);
    m_editing = false;
    emit currentRowChanged();
}

int DataControl::recordCount() const
{
    return m_rows ? m_rows->count() : 0;
}

int DataControl::absolutePosition() const
{
    return m_position;
}

void DataControl::setAbsolutePosition(int position)
{
    if (position < 0 || position >= recordCount())
        throw core::Failure(
            QStringLiteral("Einen Eintrag an der Stelle %1 gibt es nicht; \"%2\" hat %3 Einträge.")
                .arg(position)
                .arg(m_recordSource)
                .arg(recordCount()));
    moveTo(position);
}

void DataControl::moveLast()
{
    if (recordCount() > 0)
        moveTo(recordCount() - 1);
}

void DataControl::moveTo(int position)
{
    std::optional<QStringList> current = m_rows->readRow(position);
    m_position = position;
    m_current = std::move(current);
    m_editing = false;
    emit currentRowChanged();
}

void DataControl::requireCurrent() const
{
    if (m_position < 0)
        throw core::Failure(QStringLiteral("Es gibt keinen aktuellen Eintrag."));
    if (!m_current)
        throw core::Failure(
            QStringLiteral("Der aktuelle Eintrag ist nicht mehr vorhanden; er wurde inzwischen "
                           "gelöscht."));
}

QString DataControl::field(int index) const
{
    requireCurrent();
    if (index < 0 || index >= m_current->size())
        throw core::Failure(
            QStringLiteral("Ein Feld Nummer %1 gibt es in \"%2\" nicht.").arg(index).arg(m_recordSource));
    return m_current->at(index);
}

QStringList DataControl::fieldNames() const
{
    return m_rows ? m_rows->fields() : QStringList();
}

QStringList DataControl::currentRow() const
{
    return m_current.value_or(QStringList());
}

void DataControl::requireChangeable() const
{
    requireCurrent();
    if (m_rows->isView())
        throw core::Failure(QStringLiteral("\"%1\" ist eine Abfrage; ihre Zeilen lassen sich nicht ändern.")
                                .arg(m_recordSource));
}

void DataControl::edit()
{
    requireChangeable();
    m_editing = true;
}

void DataControl::update(const QMap<QString, QString> &texts)
{
    if (!m_editing)
        throw core::Failure(QStringLiteral("Der Eintrag wurde nicht zum Ändern geöffnet."));
    requireChangeable();

    QStringList assignments;
    QVariantList values;
    for (auto text = texts.cbegin(); text != texts.cend(); ++text) {
        values << FieldValue::toStored(text.key(), text.value());
        assignments << core::LogNames::quoted(text.key()) + QStringLiteral(" = ?");
    }
    const QString table = m_rows->source();
    const qint64 rowid = m_rows->id(m_position);
    const QString what =
        QStringLiteral("Der Eintrag konnte nicht in der Tabelle \"%1\" gespeichert werden.").arg(table);
    if (!assignments.isEmpty()) {
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                .arg(core::LogNames::quoted(table), assignments.join(QStringLiteral(", ")));
        values << rowid;
        m_connection->writeRow(what, sql, values);
    }
    m_editing = false;
    m_rows->forget(m_position);
    m_current = m_rows->readRow(m_position);
    m_model->rowChanged(m_position);
    emit currentRowChanged();
}

void DataControl::deleteCurrent()
{
    requireChangeable();
    const QString table = m_rows->source();
    const qint64 rowid = m_rows->id(m_position);
    const QString what =
        QStringLiteral("Der Eintrag konnte nicht aus der Tabelle \"%1\" gelöscht werden.").arg(table);
    m_connection->writeRow(
        what, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(core::LogNames::quoted(table)), {rowid});
    const int position = m_position;
    m_model->beginRemove(position);
    m_rows->removeAt(position);
    m_model->endRemove();
    m_position = -1;
    m_current.reset();
    m_editing = false;
    if (recordCount() > 0) {
        // The stored row is gone; reading its neighbour may still fail, then no row is current.
        moveTo(std::min(position, recordCount() - 1));
    } else {
        emit currentRowChanged();
    }
}

QAbstractItemModel *DataControl::model()
{
    return m_model;
}

} // namespace logstore

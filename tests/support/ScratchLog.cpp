#include "ScratchLog.h"

#include "Database.h"
#include "FieldValue.h"
#include "LogFileMaker.h"
#include "LogNames.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

ScratchLog::ScratchLog()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    LogFileMaker::create(path(), schema());
}

QString ScratchLog::schema()
{
    QFile file(QStringLiteral(TANKVERZEHR_SCHEMA_FILE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("schema file missing");
    return QString::fromUtf8(file.readAll());
}

QString ScratchLog::otherCarTable(const QStringList &types, const QString &options)
{
    QStringList columns;
    for (qsizetype i = 0; i < types.size(); ++i)
        columns << (core::LogNames::quoted(core::LogNames::fields().at(i)) + QLatin1Char(' ') + types.at(i))
                       .trimmed();
    return QStringLiteral("DROP TABLE Auto; CREATE TABLE Auto (%1) %2")
        .arg(columns.join(QStringLiteral(", ")), options);
}

QByteArray ScratchLog::bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QVariantList> ScratchLog::query(const QString &path, const QString &sql, const QVariantList &values)
{
    static int connections = 0;
    const QString name = QStringLiteral("testlog-%1").arg(++connections);
    QList<QVariantList> result;
    QSqlError error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        // One statement is a transaction of its own: it is stored whole or not at all.
        if (db.open() && query.prepare(sql)) {
            for (const QVariant &value : values)
                query.addBindValue(value);
            query.exec();
            while (query.next()) {
                result << QVariantList();
                for (int i = 0; i < query.record().count(); ++i)
                    result.last() << query.value(i);
            }
        }
        error = db.isOpen() ? query.lastError() : db.lastError();
    }
    QSqlDatabase::removeDatabase(name);
    if (error.isValid())
        throw std::runtime_error(error.text().toStdString());
    return result;
}

QString ScratchLog::write(const QString &name, const QByteArray &bytes) const
{
    writeFile(filePath(name), bytes);
    return filePath(name);
}

void ScratchLog::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

void ScratchLog::record(const QString &path, const QString &table, const QList<QStringList> &rows)
{
    logstore::Database database = logstore::Database::open(path);
    logstore::RowAppender records = database.openAppender(table);
    for (const QStringList &row : rows) {
        records.addNew();
        for (int field = 0; field < row.size(); ++field)
            records.setField(core::LogNames::fields().at(field), row.at(field));
        records.update();
    }
}

void ScratchLog::appendMany(const QString &table, int count)
{
    if (count <= 0) // the generating query always yields its first row
        return;
    query(path(),
          QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                         "INSERT INTO %1 SELECT '01.01.2024', i, i / 10.0, 7.5 FROM n")
              .arg(core::LogNames::quoted(table)),
          {count});
}

QList<QStringList> ScratchLog::rows(const QString &table) const
{
    QList<QStringList> result;
    for (const QVariantList &row : query(
             path(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(core::LogNames::quoted(table)))) {
        QStringList texts;
        for (const QVariant &value : row)
            texts << logstore::FieldValue::toText(value);
        result << texts;
    }
    return result;
}

int ScratchLog::count(const QString &table) const
{
    return query(path(), QStringLiteral("SELECT count(*) FROM %1").arg(core::LogNames::quoted(table)))
        .at(0)
        .at(0)
        .toInt();
}

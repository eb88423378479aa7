#include "TestLog.h"

#include <FieldValue.h>
#include <LogFileMaker.h>
#include <LogNames.h>
#include <ProgramDirectory.h>

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <stdexcept>

namespace {

QAtomicInt testConnectionCounter;

// A short-lived connection of the test's own, closed and removed when it goes.
class OwnConnection {
public:
    explicit OwnConnection(const QString &path)
        : m_name(QStringLiteral("testlog-%1").arg(testConnectionCounter.fetchAndAddRelaxed(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
    }
    ~OwnConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

void run(QSqlQuery &query)
{
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
}

} // namespace

TestLog::TestLog()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    LogFileMaker::create(path(), schema());
    toolkit::ProgramDirectory::setOverride(m_dir.path());
}

TestLog::~TestLog()
{
    toolkit::ProgramDirectory::setOverride(QString());
}

QString TestLog::dir() const
{
    return m_dir.path();
}

QString TestLog::path() const
{
    return m_dir.filePath(QStringLiteral("Verbrauch.mdb"));
}

QString TestLog::schema()
{
    QFile file(QStringLiteral(TANKVERZEHR_SCHEMA_FILE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("schema file missing");
    return QString::fromUtf8(file.readAll());
}

void TestLog::append(const QString &table, const QStringList &datumKmLiterVerbrauch)
{
    const QStringList &fields = logstore::LogNames::fields();
    if (datumKmLiterVerbrauch.size() != fields.size())
        throw std::invalid_argument("append needs four texts");
    OwnConnection connection(path());
    QSqlQuery insert(connection.db());
    insert.prepare(
        QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(logstore::LogNames::quoted(table)));
    for (int i = 0; i < fields.size(); ++i)
        insert.addBindValue(logstore::FieldValue::toStored(fields.at(i), datumKmLiterVerbrauch.at(i)));
    run(insert);
}

void TestLog::appendMany(const QString &table, int count)
{
    OwnConnection connection(path());
    QSqlDatabase db = connection.db();
    db.transaction();
    {
        QSqlQuery insert(db);
        insert.prepare(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                           "INSERT INTO %1 SELECT '01.01.2024', i, i / 10.0, 7.5 FROM n")
                .arg(logstore::LogNames::quoted(table)));
        insert.addBindValue(count);
        run(insert);
    }
    db.commit();
}

QList<QStringList> TestLog::rows(const QString &table) const
{
    OwnConnection connection(path());
    QSqlQuery query(connection.db());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(logstore::LogNames::quoted(table)));
    run(query);
    QList<QStringList> result;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < 4; ++i)
            row << logstore::FieldValue::toText(query.value(i));
        result << row;
    }
    return result;
}

int TestLog::count(const QString &table) const
{
    OwnConnection connection(path());
    QSqlQuery query(connection.db());
    query.prepare(QStringLiteral("SELECT count(*) FROM %1").arg(logstore::LogNames::quoted(table)));
    run(query);
    query.next();
    return query.value(0).toInt();
}

#include "LogCheck.h"

#include "LogRows.h"

#include "DateCheck.h"
#include "Failure.h"
#include "LogNames.h"
#include "NumberText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using core::LogNames;

namespace {

QString problemLine(const QString &table, qint64 position, int field, const QString &value, QString reason)
{
    reason.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return QStringLiteral("%1, Eintrag %2, Feld \"%3\", Wert \"%4\": %5")
        .arg(table)
        .arg(position)
        .arg(LogNames::fields().at(field), value, reason);
}

// Why a stored number field breaks the rules, or nothing.
std::optional<QString> numberProblem(const QVariant &value, int field)
{
    if (value.isNull())
        return QStringLiteral("Das Feld ist leer; erwartet wird eine Zahl.");
    const bool stored = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong ||
                        value.typeId() == QMetaType::Int;
    if (!stored && !core::NumberText::isNumeric(value.toString()))
        return QStringLiteral("Das ist keine Zahl.");
    if (field == LogRows::Kilometres && core::NumberText::read(LogRows::text(value)).value_or(1.0) == 0.0)
        return QStringLiteral("Die Kilometerangabe darf nicht 0 sein.");
    return std::nullopt;
}

} // namespace

qint64 LogCheck::structure(const logstore::Connection &connection, const Report &report)
{
    qint64 problems = 0;
    const auto problem = [&](const QString &text) {
        ++problems;
        report(text);
    };

    QSqlQuery integrity(connection.database());
    integrity.setForwardOnly(true);
    if (!integrity.exec(QStringLiteral("PRAGMA integrity_check"))) {
        problem(QStringLiteral("Die Datei ist beschädigt: %1").arg(integrity.lastError().text()));
        return problems;
    }
    while (integrity.next()) {
        if (integrity.value(0).toString() != QLatin1String("ok"))
            problem(QStringLiteral("Die Datei ist beschädigt: %1").arg(integrity.value(0).toString()));
    }
    if (integrity.lastError().isValid())
        problem(QStringLiteral("Die Datei ist beschädigt: %1").arg(integrity.lastError().text()));
    integrity.finish();

    for (const QString &table : LogNames::tables()) {
        const std::optional<QStringList> missing = missingFields(connection, table);
        if (!missing)
            problem(QStringLiteral("Die Tabelle \"%1\" fehlt.").arg(table));
        for (const QString &field : missing.value_or(QStringList()))
            problem(QStringLiteral("Tabelle \"%1\": das Feld \"%2\" fehlt.").arg(table, field));
    }

    for (const QString &view : LogNames::views()) {
        if (objectType(connection, view) != QLatin1String("view")) {
            problem(QStringLiteral("Die Abfrage \"%1\" fehlt.").arg(view));
            continue;
        }
        QSqlQuery totals(connection.database());
        totals.setForwardOnly(true);
        if (!totals.exec(QStringLiteral("SELECT * FROM %1").arg(LogNames::quoted(view))))
            problem(QStringLiteral("Die Abfrage \"%1\" lässt sich nicht ausführen: %2")
                        .arg(view, totals.lastError().text()));
        else if (!totals.next() || totals.record().count() < 2)
            problem(
                QStringLiteral("Die Abfrage \"%1\" liefert nicht die Gesamtkilometer und -liter.").arg(view));
    }
    return problems;
}

std::optional<QStringList> LogCheck::missingFields(const logstore::Connection &connection,
                                                   const QString &table)
{
    if (objectType(connection, table) != QLatin1String("table"))
        return std::nullopt;
    QSqlQuery columns(connection.database());
    columns.setForwardOnly(true);
    columns.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    columns.addBindValue(table);
    QStringList present;
    if (columns.exec()) {
        while (columns.next())
            present << columns.value(0).toString();
    }
    QStringList missing;
    for (const QString &field : LogNames::fields()) {
        if (!present.contains(field))
            missing << field;
    }
    return missing;
}

qint64 LogCheck::values(const logstore::Connection &connection, const QString &todayText,
                        const Report &report)
{
    qint64 problems = 0;
    for (const QString &table : LogNames::tables()) {
        if (missingFields(connection, table).value_or(QStringList{table}).size() > 0)
            continue; // reported by structure()
        try {
            checkRows(connection, table, todayText, report, problems);
        } catch (const core::Failure &failure) {
            ++problems;
            report(QStringLiteral("Die Tabelle \"%1\" lässt sich nicht ganz lesen: %2")
                       .arg(table, failure.message()));
        }
    }
    return problems;
}

void LogCheck::checkRows(const logstore::Connection &connection, const QString &table,
                         const QString &todayText, const Report &report, qint64 &problems)
{
    LogRows::forEach(connection, table, [&](const LogRows::Entry &entry) {
        const QString date = entry.text(LogRows::Date);
        if (const std::optional<QString> refusal = core::DateCheck::refusal(date, todayText)) {
            ++problems;
            report(problemLine(table, entry.position, LogRows::Date, date, *refusal));
        }
        for (int field = LogRows::Kilometres; field <= LogRows::Consumption; ++field) {
            const QVariant &value = entry.values.at(static_cast<size_t>(field));
            if (const std::optional<QString> problem = numberProblem(value, field)) {
                ++problems;
                report(problemLine(table, entry.position, field, entry.text(field), *problem));
            }
        }
    });
}

QString LogCheck::entryCounts(const logstore::Connection &connection)
{
    QStringList counts;
    for (const QString &table : LogNames::tables()) {
        QSqlQuery count(connection.database());
        count.setForwardOnly(true);
        if (!count.exec(QStringLiteral("SELECT count(*) FROM %1").arg(LogNames::quoted(table))) ||
            !count.next())
            throw connection.failure(
                QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(table),
                count.lastError());
        const qint64 n = count.value(0).toLongLong();
        counts << QStringLiteral("%1 %2").arg(table, n == 1 ? QStringLiteral("1 Eintrag")
                                                            : QStringLiteral("%1 Einträge").arg(n));
    }
    return counts.join(QStringLiteral(", "));
}

QString LogCheck::objectType(const logstore::Connection &connection, const QString &name)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT type FROM sqlite_schema WHERE name = ?"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

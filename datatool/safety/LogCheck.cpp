#include "LogCheck.h"

#include "LogRows.h"
#include "Plausibility.h"

#include "DateCheck.h"
#include "Failure.h"
#include "FieldValue.h"
#include "LogNames.h"
#include "MessageText.h"
#include "NumberText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace datatool {

using core::LogNames;

namespace {

QString problemLine(const QString &table, qint64 position, int field, const QString &value,
                    const QString &reason)
{
    return QStringLiteral("%1, Eintrag %2, Feld \"%3\", Wert \"%4\": %5")
        .arg(table)
        .arg(position)
        .arg(LogNames::fields().at(field), value, core::MessageText::lines(reason).join(QLatin1Char(' ')));
}

// Why a stored number field breaks the rules, or nothing.
std::optional<QString> numberProblem(const QVariant &value, int field)
{
    if (value.isNull())
        return QStringLiteral("Das Feld ist leer; erwartet wird eine Zahl.");
    if (!logstore::FieldValue::isNumber(value) && !core::NumberText::isNumeric(value.toString()))
        return QStringLiteral("Das ist keine Zahl.");
    if (field == LogRows::Kilometres &&
        core::NumberText::read(logstore::FieldValue::toText(value)).value_or(1.0) == 0.0)
        return QStringLiteral("Die Kilometerangabe darf nicht 0 sein.");
    return std::nullopt;
}

} // namespace

void LogCheck::structure(const logstore::Connection &connection, const Report &report)
{
    const auto problem = [&](const QString &text) { report(Kind::Problem, text); };
    const auto details = [&](const QString &text) {
        for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            report(Kind::Detail, QStringLiteral("  ") + line.trimmed());
    };

    QSqlQuery integrity(connection.database());
    integrity.setForwardOnly(true);
    QStringList findings;
    if (integrity.exec(QStringLiteral("PRAGMA integrity_check"))) {
        while (integrity.next()) {
            if (integrity.value(0).toString() != QLatin1String("ok"))
                findings << integrity.value(0).toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
    }
    // "*** in database main ***" only heads the engine's list.
    findings.removeIf([](const QString &finding) { return finding.startsWith(QLatin1String("***")); });
    if (integrity.lastError().isValid())
        findings << integrity.lastError().text();
    integrity.finish();
    if (!findings.isEmpty()) {
        problem(QStringLiteral("Die Datei ist beschädigt: die Datenbank meldet %1 in ihrem inneren Aufbau "
                               "(Einzelheiten mit --ausfuehrlich).")
                    .arg(findings.size() == 1 ? QStringLiteral("einen Fehler")
                                              : QStringLiteral("%1 Fehler").arg(findings.size())));
        details(findings.join(QLatin1Char('\n')));
        return;
    }

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
        if (!totals.exec(QStringLiteral("SELECT * FROM %1").arg(LogNames::quoted(view)))) {
            problem(QStringLiteral("Die Abfrage \"%1\" lässt sich nicht ausführen.").arg(view));
            details(totals.lastError().text());
        } else if (!totals.next() || totals.record().count() < 2) {
            problem(
                QStringLiteral("Die Abfrage \"%1\" liefert nicht die Gesamtkilometer und -liter.").arg(view));
        }
    }
}

qint64 LogCheck::structure(const logstore::Connection &connection,
                           const std::function<void(const QString &problem)> &problems)
{
    qint64 count = 0;
    structure(connection, [&](Kind kind, const QString &line) {
        if (kind == Kind::Problem) {
            ++count;
            problems(line);
        }
    });
    return count;
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

void LogCheck::values(const logstore::Connection &connection, const QString &todayText, const Report &report)
{
    for (const QString &table : LogNames::tables()) {
        if (missingFields(connection, table).value_or(QStringList{table}).size() > 0)
            continue; // reported by structure()
        try {
            checkRows(connection, table, todayText, report);
        } catch (const core::Failure &failure) {
            const QStringList lines = core::MessageText::lines(failure.message());
            report(Kind::Problem, QStringLiteral("Die Tabelle \"%1\" lässt sich nicht ganz lesen: %2")
                                      .arg(table, lines.first()));
            for (const QString &line : lines.mid(1))
                report(Kind::Detail, QStringLiteral("  ") + line);
        }
    }
}

void LogCheck::checkRows(const logstore::Connection &connection, const QString &table,
                         const QString &todayText, const Report &report)
{
    LogRows::forEach(connection, table, [&](const LogRows::Entry &entry) {
        const QString date = entry.text(LogRows::Date);
        if (const std::optional<QString> refusal = core::DateCheck::refusal(date, todayText))
            report(Kind::Problem, problemLine(table, entry.position, LogRows::Date, date, *refusal));
        bool numbers = true;
        for (int field = LogRows::Kilometres; field <= LogRows::Consumption; ++field) {
            const QVariant &value = entry.values.at(static_cast<size_t>(field));
            if (const std::optional<QString> problem = numberProblem(value, field)) {
                numbers = false;
                report(Kind::Problem, problemLine(table, entry.position, field, entry.text(field), *problem));
            }
        }
        if (!numbers)
            return;
        const auto number = [&](int field) {
            return LogRows::number(entry.values.at(static_cast<size_t>(field))).value_or(0.0);
        };
        if (const auto finding = Plausibility::check(number(LogRows::Kilometres), number(LogRows::Litres),
                                                     number(LogRows::Consumption)))
            report(Kind::Warning,
                   QStringLiteral("Warnung: ") +
                       problemLine(table, entry.position, finding->field, entry.text(finding->field),
                                   QStringLiteral("unplausibel, ") + finding->reason));
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
        counts << QStringLiteral("%1 %2").arg(table, core::MessageText::entries(n));
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

} // namespace datatool

#include "LogImport.h"

#include "CsvReader.h"
#include "ExistingRows.h"
#include "ImportCheck.h"
#include "ImportHeader.h"

#include "Connection.h"
#include "Failure.h"
#include "LogNames.h"
#include "NumberText.h"

#include <QSqlQuery>
#include <memory>
#include <optional>

namespace {

bool allEmpty(const QStringList &fields)
{
    return std::all_of(fields.begin(), fields.end(),
                       [](const QString &field) { return field.trimmed().isEmpty(); });
}

QString insertStatement(const QString &table)
{
    using core::LogNames;
    QStringList columns;
    for (const QString &field : LogNames::fields())
        columns << LogNames::quoted(field);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)")
        .arg(LogNames::quoted(table), columns.join(QStringLiteral(", ")));
}

void add(LogImport::Summary &summary, const ImportCheck::Entry &entry)
{
    ++summary.stored;
    summary.kilometres += entry.kilometres;
    summary.litres += entry.litres;
    if (!summary.first.isValid() || entry.day < summary.first)
        summary.first = entry.day;
    if (!summary.last.isValid() || entry.day > summary.last)
        summary.last = entry.day;
}

QString entries(qint64 count)
{
    return count == 1 ? QStringLiteral("1 Eintrag") : QStringLiteral("%1 Einträge").arg(count);
}

} // namespace

LogImport::Summary LogImport::run(const Options &options)
{
    const logstore::Connection connection(options.logPath);
    connection.requireTable(options.table);
    CsvReader reader(options.file, TextEncoding::probe(options.file));
    const QString what =
        QStringLiteral("Die Einträge konnten nicht in der Tabelle \"%1\" gespeichert werden.")
            .arg(options.table);

    Summary summary;
    const auto importRows = [&](QSqlDatabase &db) {
        std::unique_ptr<ExistingRows> existing;
        if (!options.allowDuplicates)
            existing = std::make_unique<ExistingRows>(connection, options.table, options.dryRun);
        QSqlQuery insert(db);
        if (!options.dryRun && !insert.prepare(insertStatement(options.table)))
            throw connection.failure(what, insert.lastError());
        std::optional<ImportHeader> header;
        std::optional<ImportCheck> check;
        reader.read([&](qint64 line, const QStringList &fields) {
            if (!header) {
                header.emplace(fields);
                check.emplace(reader.separator(), options.todayText);
                return;
            }
            if (allEmpty(fields)) // an empty spreadsheet row
                return;
            if (fields.size() != header->columns())
                throw core::Failure(QStringLiteral("Zeile %1 hat %2 Felder, die Kopfzeile aber %3.")
                                        .arg(line)
                                        .arg(fields.size())
                                        .arg(header->columns()));
            const ImportCheck::Entry entry = check->check(line, header->inLogOrder(fields));
            if (existing && existing->claim(entry.date, entry.kilometres, entry.litres)) {
                ++summary.duplicates;
                return;
            }
            if (!options.dryRun) {
                insert.bindValue(0, entry.date);
                insert.bindValue(1, entry.kilometres);
                insert.bindValue(2, entry.litres);
                insert.bindValue(3, entry.consumption);
                if (!insert.exec())
                    throw connection.failure(what, insert.lastError());
            }
            add(summary, entry);
        });
    };

    if (options.dryRun) {
        QSqlDatabase db = connection.database();
        importRows(db);
    } else {
        connection.write(what, importRows);
    }
    return summary;
}

QString LogImport::describe(const Summary &summary, const Options &options)
{
    QString text = options.dryRun
                       ? QStringLiteral("Probelauf, nichts gespeichert. Gespeichert würden in \"%1\": ")
                       : QStringLiteral("Gespeichert in \"%1\": ");
    text = text.arg(options.table);
    if (summary.stored == 0) {
        text += QStringLiteral("keine Einträge.");
    } else {
        const QString dateForm = QStringLiteral("dd.MM.yyyy");
        text += QStringLiteral("%1 vom %2 bis %3, zusammen %4 km und %5 Liter.")
                    .arg(entries(summary.stored), summary.first.toString(dateForm),
                         summary.last.toString(dateForm), core::NumberText::text(summary.kilometres),
                         core::NumberText::text(summary.litres));
    }
    if (summary.duplicates > 0) {
        const bool one = summary.duplicates == 1;
        text +=
            QStringLiteral("\n%1 %2 schon so im Log (Datum, Kilometer und Liter gleich) und %3 nicht noch "
                           "einmal gespeichert; mit --doppelte-zulassen %4 sie es.")
                .arg(one ? QStringLiteral("1 Zeile") : QStringLiteral("%1 Zeilen").arg(summary.duplicates),
                     one ? QStringLiteral("steht") : QStringLiteral("stehen"),
                     options.dryRun ? (one ? QStringLiteral("würde") : QStringLiteral("würden"))
                                    : (one ? QStringLiteral("wurde") : QStringLiteral("wurden")),
                     options.dryRun ? (one ? QStringLiteral("würde") : QStringLiteral("würden"))
                                    : (one ? QStringLiteral("wird") : QStringLiteral("werden")));
    }
    return text;
}

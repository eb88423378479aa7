#include "LogImport.h"

#include "CsvReader.h"
#include "ExactSum.h"
#include "ExistingRows.h"
#include "ImportCheck.h"
#include "ImportHeader.h"
#include "RowInserter.h"

#include "Connection.h"
#include "Failure.h"
#include "LogNames.h"
#include "MessageText.h"
#include "NumberText.h"

#include <QSqlQuery>
#include <memory>
#include <optional>

namespace datatool {

namespace {

bool allEmpty(const QStringList &fields)
{
    return std::all_of(fields.begin(), fields.end(),
                       [](const QString &field) { return field.trimmed().isEmpty(); });
}

void add(LogImport::Summary &summary, const ImportCheck::Entry &entry, ExactSum &kilometres, ExactSum &litres)
{
    ++summary.stored;
    kilometres.add(entry.kilometres);
    litres.add(entry.litres);
    summary.implausible += entry.implausible ? 1 : 0;
    summary.twoDigitYears += entry.twoDigitYear ? 1 : 0;
    if (!summary.first.isValid() || entry.day < summary.first)
        summary.first = entry.day;
    if (!summary.last.isValid() || entry.day > summary.last)
        summary.last = entry.day;
}

QString entries(qint64 count)
{
    return core::MessageText::entries(count);
}

// A total as the overview shows it: its number text cut to two decimals.
QString total(double value)
{
    return core::NumberText::cut(core::NumberText::text(value));
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
    ExactSum kilometres;
    ExactSum litres;
    const auto importRows = [&](QSqlDatabase &db) {
        std::unique_ptr<ExistingRows> existing;
        if (!options.allowDuplicates)
            existing = std::make_unique<ExistingRows>(connection, options.table, options.dryRun);
        std::optional<RowInserter> inserter;
        if (!options.dryRun)
            inserter.emplace(connection, db, options.table);
        std::optional<ImportHeader> header;
        std::optional<ImportCheck> check;
        reader.read([&](qint64 line, const QStringList &fields) {
            if (!header) {
                header.emplace(fields);
                check.emplace(reader.separator(), options.today, options.takeImplausible);
                return;
            }
            if (allEmpty(fields)) // an empty spreadsheet row
                return;
            const ImportCheck::Entry entry = check->check(line, header->inLogOrder(line, fields));
            if (existing && existing->claim(entry.date, entry.kilometres, entry.litres)) {
                ++summary.duplicates;
                return;
            }
            if (inserter)
                inserter->insert(entry.date, entry.kilometres, entry.litres, entry.consumption);
            add(summary, entry, kilometres, litres);
        });
        if (header)
            summary.leftOut = header->leftOut();
    };

    if (options.dryRun) {
        QSqlDatabase db = connection.database();
        importRows(db);
    } else {
        connection.write(what, importRows);
    }
    summary.kilometres = kilometres.value();
    summary.litres = litres.value();
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
                         summary.last.toString(dateForm), total(summary.kilometres), total(summary.litres));
    }
    if (summary.twoDigitYears > 0)
        text += QStringLiteral("\n%1 mit zweistelligem Jahr: als 20JJ gelesen, oder als 19JJ, wo 20JJ nach "
                               "diesem Jahr läge.")
                    .arg(summary.twoDigitYears == 1 ? QStringLiteral("1 Datum")
                                                    : QStringLiteral("%1 Daten").arg(summary.twoDigitYears));
    if (summary.implausible > 0)
        text += QStringLiteral("\nDarunter %1 unplausibel (mit --unplausible-zulassen übernommen).")
                    .arg(entries(summary.implausible));
    if (!summary.leftOut.isEmpty())
        text += summary.leftOut.size() == 1
                    ? QStringLiteral("\nSpalte %1 nicht übernommen.").arg(summary.leftOut.first())
                    : QStringLiteral("\nSpalten %1 und %2 nicht übernommen.")
                          .arg(summary.leftOut.mid(0, summary.leftOut.size() - 1).join(QStringLiteral(", ")),
                               summary.leftOut.last());
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

} // namespace datatool

#include "ImportCheck.h"

#include "CsvNumber.h"
#include "LogRows.h"

#include "Consumption.h"
#include "DateCheck.h"
#include "Failure.h"
#include "LogNames.h"
#include "NumberText.h"

namespace {

core::Failure refused(qint64 line, int field, const QString &text, QString reason)
{
    // The date check's two-line messages become one line.
    reason.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return core::Failure(QStringLiteral("Zeile %1, Feld \"%2\": \"%3\" wird nicht angenommen: %4")
                             .arg(line)
                             .arg(core::LogNames::fields().at(field), text, reason));
}

} // namespace

ImportCheck::ImportCheck(char separator, const QString &todayText)
    : m_separator(separator), m_today(todayText)
{
}

ImportCheck::Entry ImportCheck::check(qint64 line, const QStringList &fields) const
{
    Entry entry;
    entry.date = fields.at(LogRows::Date);
    if (const std::optional<QString> refusal = core::DateCheck::refusal(entry.date, m_today))
        throw refused(line, LogRows::Date, entry.date, *refusal);
    // The date check let through only dd.MM.yyyy of digits that make a calendar day.
    const QStringView date(entry.date);
    entry.day = QDate(date.sliced(6, 4).toInt(), date.sliced(3, 2).toInt(), date.sliced(0, 2).toInt());

    entry.kilometres = number(line, LogRows::Kilometres, fields.at(LogRows::Kilometres));
    if (entry.kilometres == 0.0)
        throw refused(line, LogRows::Kilometres, fields.at(LogRows::Kilometres),
                      QStringLiteral("Die Kilometerangabe darf nicht 0 sein."));
    entry.litres = number(line, LogRows::Litres, fields.at(LogRows::Litres));

    const QString &consumption = fields.at(LogRows::Consumption);
    if (!consumption.trimmed().isEmpty()) {
        entry.consumption = number(line, LogRows::Consumption, consumption);
        return entry;
    }
    try {
        // As the calculator stores it: the number text of the result, cut to two decimals.
        const QString shown = core::NumberText::cut(
            core::NumberText::text(core::Consumption::per100km(entry.litres, entry.kilometres)));
        entry.consumption = core::NumberText::read(shown).value_or(0.0);
    } catch (const core::Failure &failure) {
        throw refused(line, LogRows::Consumption, consumption, failure.message());
    }
    return entry;
}

double ImportCheck::number(qint64 line, int field, const QString &text) const
{
    if (const std::optional<double> value = CsvNumber::read(text, m_separator))
        return *value;
    QString message = QStringLiteral("Zeile %1, Feld \"%2\": \"%3\" ist keine Zahl.")
                          .arg(line)
                          .arg(core::LogNames::fields().at(field), text);
    if (m_separator == ';' && text.contains(QLatin1Char('.')) && core::NumberText::isNumeric(text))
        message +=
            QStringLiteral(" In Dateien mit \";\" stehen die Nachkommastellen nach einem Komma; ein Punkt "
                           "steht nur zwischen Tausendergruppen (1.234,5).");
    else if (m_separator == ',' && text.contains(QLatin1Char('.')) && text.contains(QLatin1Char(',')))
        message += QStringLiteral(" In Dateien mit \",\" stehen die Nachkommastellen nach einem Punkt, und "
                                  "Tausender werden nicht abgetrennt (1234.5).");
    throw core::Failure(message);
}

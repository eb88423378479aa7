#include "ImportCheck.h"

#include "CsvNumber.h"
#include "ImportDate.h"
#include "LogRows.h"
#include "Plausibility.h"

#include "Failure.h"
#include "LogNames.h"
#include "NumberText.h"

namespace datatool {

namespace {

QString fieldName(int field)
{
    return core::LogNames::fields().at(field);
}

core::Failure refused(qint64 line, int field, const QString &text, const QString &reason)
{
    return core::Failure(QStringLiteral("Zeile %1, Feld \"%2\": \"%3\" wird nicht angenommen: %4")
                             .arg(line)
                             .arg(fieldName(field), text, reason));
}

} // namespace

ImportCheck::ImportCheck(char separator, const QDate &today, bool takeImplausible)
    : m_separator(separator), m_today(today), m_takeImplausible(takeImplausible)
{
}

ImportCheck::Entry ImportCheck::check(qint64 line, const QStringList &fields)
{
    Entry entry;
    const ImportDate::Reading date = ImportDate::read(fields.at(LogRows::Date), m_today);
    if (!date.day.isValid())
        throw refused(line, LogRows::Date, fields.at(LogRows::Date), date.refusal);
    entry.day = date.day;
    entry.date = date.text();
    entry.twoDigitYear = date.twoDigitYear;

    entry.kilometres = number(line, LogRows::Kilometres, fields.at(LogRows::Kilometres));
    if (entry.kilometres == 0.0)
        throw refused(line, LogRows::Kilometres, fields.at(LogRows::Kilometres),
                      QStringLiteral("Die Kilometerangabe darf nicht 0 sein."));
    entry.litres = number(line, LogRows::Litres, fields.at(LogRows::Litres));

    const QString &consumption = fields.at(LogRows::Consumption);
    if (!consumption.trimmed().isEmpty()) {
        entry.consumption = number(line, LogRows::Consumption, consumption);
    } else {
        try {
            entry.consumption = Plausibility::storedConsumption(entry.litres, entry.kilometres);
        } catch (const core::Failure &failure) {
            throw refused(line, LogRows::Consumption, consumption, failure.message());
        }
    }

    if (const auto finding = Plausibility::check(entry.kilometres, entry.litres, entry.consumption)) {
        if (!m_takeImplausible)
            throw refused(line, finding->field, fields.at(finding->field),
                          QStringLiteral("unplausibel: %1 Mit --unplausible-zulassen wird die Zeile "
                                         "trotzdem übernommen.")
                              .arg(finding->reason));
        entry.implausible = true;
    }
    return entry;
}

double ImportCheck::number(qint64 line, int field, const QString &text)
{
    if (const std::optional<double> value = CsvNumber::read(text, m_separator)) {
        if (m_separator == ',' && m_firstGrouped.line == 0 && CsvNumber::groupsLikeGerman(text))
            m_firstGrouped = Place{line, field, text};
        if (m_separator == ',' && m_firstDecimalComma.line == 0 && CsvNumber::hasDecimalComma(text))
            m_firstDecimalComma = Place{line, field, text};
        if (m_firstGrouped.line != 0 && m_firstDecimalComma.line != 0)
            throw ambiguous();
        return *value;
    }
    QString message =
        QStringLiteral("Zeile %1, Feld \"%2\": \"%3\" ist keine Zahl.").arg(line).arg(fieldName(field), text);
    if (m_separator != ',' && text.contains(QLatin1Char('.')) && core::NumberText::isNumeric(text))
        message +=
            QStringLiteral(" In Dateien mit \"%1\" stehen die Nachkommastellen nach einem Komma; ein Punkt "
                           "steht nur zwischen Tausendergruppen (1.234,5).")
                .arg(m_separator == '\t' ? QStringLiteral("Tabulator") : QStringLiteral(";"));
    else if (m_separator == ',' && text.contains(QLatin1Char('.')) && text.contains(QLatin1Char(',')))
        message += QStringLiteral(" In Dateien mit \",\" stehen die Nachkommastellen nach einem Punkt, und "
                                  "Tausender werden nicht abgetrennt (1234.5).");
    throw core::Failure(message);
}

core::Failure ImportCheck::ambiguous() const
{
    const QString &text = m_firstGrouped.text;
    QString thousands = text.trimmed();
    thousands.remove(QLatin1Char('.'));
    QString decimal = text.trimmed();
    decimal.replace(QLatin1Char('.'), QLatin1Char(','));
    return core::Failure(
        QStringLiteral("Zeile %1, Feld \"%2\": \"%3\" ist nicht eindeutig: mit Dezimalpunkt %4, mit "
                       "Tausenderpunkt %5. Die Datei schreibt Zahlen auch deutsch (Zeile %6, Feld \"%7\": "
                       "\"%8\"). Bitte die Zahl ohne Tausenderpunkt oder mit Komma angeben.")
            .arg(m_firstGrouped.line)
            .arg(fieldName(m_firstGrouped.field), text, decimal, thousands)
            .arg(m_firstDecimalComma.line)
            .arg(fieldName(m_firstDecimalComma.field), m_firstDecimalComma.text));
}

} // namespace datatool

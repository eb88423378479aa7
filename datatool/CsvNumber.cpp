#include "CsvNumber.h"

#include "NumberText.h"

#include <QRegularExpression>

namespace {

// Dots in a German number text only group the digits before the comma in threes: 1.234.567,8
bool dotsGroupThousands(const QString &text)
{
    static const QRegularExpression grouped(
        QStringLiteral("^[ \\t]*[+-]?\\d{1,3}(\\.\\d{3})+(,\\d*)?([Ee][+-]?\\d+)?[ \\t]*$"));
    return grouped.match(text).hasMatch();
}

} // namespace

QString CsvNumber::text(double value, char separator)
{
    QString number = core::NumberText::text(value);
    if (separator == ',')
        number.replace(QLatin1Char(','), QLatin1Char('.'));
    return number;
}

std::optional<double> CsvNumber::read(const QString &text, char separator)
{
    const bool hasDot = text.contains(QLatin1Char('.'));
    if (separator == ';') {
        if (hasDot && !dotsGroupThousands(text))
            return std::nullopt;
        return core::NumberText::read(text);
    }
    if (!hasDot)
        return core::NumberText::read(text);
    if (text.contains(QLatin1Char(',')))
        return std::nullopt;
    QString german = text;
    german.replace(QLatin1Char('.'), QLatin1Char(','));
    return core::NumberText::read(german);
}

#include "CsvNumber.h"

#include "NumberText.h"

#include <QRegularExpression>

namespace datatool {

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
    return core::NumberText::exact(value, decimalSeparator(separator));
}

char CsvNumber::decimalSeparator(char separator)
{
    return separator == ',' ? '.' : ',';
}

namespace {

// Digits with at most one decimal separator and nothing else, the form nearly every number of a
// file has, read straight away; nothing for any other text.
std::optional<double> plainNumber(const QString &text, char16_t decimalSeparator)
{
    char digits[32];
    const qsizetype size = text.size();
    if (size == 0 || size >= qsizetype(sizeof digits))
        return std::nullopt;
    qsizetype count = 0;
    qsizetype separatorAt = -1;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            digits[count++] = static_cast<char>(c);
        } else if (c == decimalSeparator && separatorAt < 0 && i > 0 && i + 1 < size) {
            separatorAt = i;
        } else {
            return std::nullopt;
        }
    }
    const int decimals = separatorAt < 0 ? 0 : static_cast<int>(size - separatorAt - 1);
    return core::NumberText::fromDigits({digits, size_t(count)}, -decimals);
}

} // namespace

std::optional<double> CsvNumber::read(const QString &text, char separator)
{
    if (const std::optional<double> plain = plainNumber(text, separator == ',' ? u'.' : u','))
        return plain;
    const bool hasDot = text.contains(QLatin1Char('.'));
    if (separator != ',') {
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

bool CsvNumber::groupsLikeGerman(const QString &text)
{
    // Three digits after the last dot, blanks aside: looked at before the expression is matched.
    const QStringView number = QStringView(text).trimmed();
    if (number.size() < 5 || number.at(number.size() - 4) != QLatin1Char('.'))
        return false;
    static const QRegularExpression grouped(QStringLiteral("^[ \\t]*[+-]?\\d{1,3}(\\.\\d{3})+[ \\t]*$"));
    return grouped.match(text).hasMatch();
}

bool CsvNumber::hasDecimalComma(const QString &text)
{
    return text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('.')) &&
           core::NumberText::isNumeric(text);
}

} // namespace datatool

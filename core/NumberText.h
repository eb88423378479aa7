// The program's rules for numbers written as text, made for the German locale: decimal
// comma, the dot as group separator. Qt's German QLocale follows other rules (it refuses
// "45.5", which the program reads as 455, and writes group separators), so these are our own.
#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace core {

class NumberText {
public:
    // Passes exactly the texts that read() accepts.
    static bool isNumeric(const QString &text);

    // Blanks around the number, a leading sign, digits with at most one decimal comma, dots
    // skipped wherever they stand in the digits, and an exponent part (E, optional sign,
    // digits). A magnitude beyond the range of a double gives nothing; one too small for a
    // double reads as zero.
    static std::optional<double> read(const QString &text);

    // 15 significant digits, decimal comma, no group separators, trailing zeros dropped.
    // Magnitudes from 1E+15 up and below 1E-04 are written in exponent form: 1E+15, 1,5E-05.
    static QString text(double value);

    // Keeps a text up to two characters after its first comma; truncates, never rounds. A number
    // in exponent form is cut in its mantissa and keeps its exponent.
    static QString cut(const QString &text);

    // The value read(cut(text(value))) gives, the consumption as the calculator stores it; worked
    // out without the texts for numbers written without exponent.
    static std::optional<double> cutValue(double value);

    // The shortest text that reads back to the same double, with the decimal separator given and
    // an exponent as "E-05"; not a number and infinities as text() writes them.
    static QString exact(double value, char decimalSeparator);

    // The double nearest to digits × 10^exponent, as std::from_chars reads it; digits holds only
    // '0' to '9'. Short numbers, nearly all of a log's, are worked out in one exact division.
    static double fromDigits(std::string_view digits, int exponent);
};

} // namespace core

// The program's rules for numbers written as text, made for the German locale: decimal
// comma, the dot as group separator. Qt's German QLocale follows other rules (it refuses
// "45.5", which the program reads as 455, and writes group separators), so these are our own.
#pragma once

#include <QString>
#include <optional>

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
};

} // namespace core

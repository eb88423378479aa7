// How numbers are written to and read from a CSV file, by its separator. Files with ';' (and
// tab-separated ones, as spreadsheets save "Unicode-Text") are for spreadsheets with German
// settings and hold the program's own number texts (decimal comma). Files with ',' cannot carry a
// decimal comma unquoted and hold decimal points, as our "--trennzeichen ','" export and
// mdb-export write them. Both directions read back exactly.
#pragma once

#include <QString>
#include <optional>

namespace datatool {

class CsvNumber {
public:
    // The shortest text that reads back to the same double: German notation (decimal comma) for
    // ';' and tab, C notation (decimal point) for ','; an exponent as "E-05".
    static QString text(double value, char separator);
    // '.' in ',' files, ',' in the others.
    static char decimalSeparator(char separator);

    // ';' and tab: the program's number reading, but a dot only between groups of three digits
    //      before the comma (1.234,5), so that a decimal point (6.3) is refused instead of read as 63.
    // ',': a decimal point and no group separators (1234.5, 1.5e-05); a text with a comma and no
    //      point is read with the decimal comma (a text field of an old log: "38,4").
    // Nothing when the text is no number by these rules.
    static std::optional<double> read(const QString &text, char separator);

    // In a ',' file: a text that reads as a decimal point but would be a whole number if its dots
    // grouped thousands as in a German text (1.234: 1,234 or 1234).
    static bool groupsLikeGerman(const QString &text);

    // In a ',' file: a text read with the decimal comma, as old logs keep numbers in text fields.
    static bool hasDecimalComma(const QString &text);
};

} // namespace datatool

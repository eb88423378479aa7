// How numbers are written to and read from a CSV file, by its separator. Files with ';' are for
// spreadsheets with German settings and hold the program's own number texts (decimal comma).
// Files with ',' cannot carry a decimal comma unquoted and hold decimal points, as our
// "--trennzeichen ','" export and mdb-export write them. Both directions read back exactly.
#pragma once

#include <QString>
#include <optional>

class CsvNumber {
public:
    // The program's number text; in a ',' file with a point in place of the comma.
    static QString text(double value, char separator);

    // ';': the program's number reading, but a dot only between groups of three digits before
    //      the comma (1.234,5), so that a decimal point (6.3) is refused instead of read as 63.
    // ',': a decimal point and no group separators (1234.5, 1.5e-05); a text with a comma and no
    //      point is read with the decimal comma (a text field of an old log: "38,4").
    // Nothing when the text is no number by these rules.
    static std::optional<double> read(const QString &text, char separator);
};

// Turns the texts the program hands over into the values a log field holds, and back. The date
// field keeps its text; the number fields take what the program's own number reading accepts
// (decimal comma, dots skipped, blanks around). An empty text is stored as NULL and reads back
// as the empty text, so whatever is written reads back as a text the windows accept.
#pragma once

#include <QString>
#include <QVariant>

namespace logstore {

class FieldValue {
public:
    // The value to bind for a field of a vehicle log; throws core::Failure naming the field
    // when the text is not a number although the field wants one, or when the field is unknown.
    static QVariant toStored(const QString &field, const QString &text);

    // How a stored number becomes text: as the program shows it (15 significant digits, decimal
    // comma), or the shortest text that reads back to the same double, with a decimal comma or
    // point, as files for other programs carry it.
    enum class Notation { Shown, ExactComma, ExactPoint };

    // The text for a stored value: numbers in the notation given, NULL as "", a text as it is.
    static QString toText(const QVariant &value, Notation notation = Notation::Shown);
    // Whether a value read from the file is a number (not NULL, not a text).
    static bool isNumber(const QVariant &value);
};

} // namespace logstore

// What one key release in the editor's litres or kilometres field does to the consumption field:
// refuse a text that is not a number, or recompute the consumption from both fields and cut its
// text to two decimals. Works on the three texts only and keeps no state between key releases.
#pragma once

#include <QString>

namespace core {

class LiveConsumption {
public:
    enum class Typed { Litres, Kilometres };

    struct Outcome {
        bool refused = false;    // the typed text is no number: tell the user and empty the field
        QString consumptionText; // otherwise the new text of the consumption field
    };

    // `typedText` is the text of the field the key was released in, `otherText` that of its
    // partner, `consumptionText` what the consumption field shows now. The partner is looked at
    // first; a partner that is empty, not above zero or no number at all leaves the consumption
    // as it is, which is then only cut. Throws Failure when the product or the quotient
    // lies beyond the range of a double; the consumption field must then stay as it was.
    static Outcome afterKeyRelease(Typed typed, const QString &typedText, const QString &otherText,
                                   const QString &consumptionText);
};

} // namespace core

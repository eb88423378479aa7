// Whether one fill-up is one a driver could have made: kilometres and litres above zero, finite
// and within what one tank gives, the consumption they make within what a car or motorcycle
// uses, and a stored consumption equal to litres × 100 / kilometres cut to two decimals as the
// calculator stores it. The import refuses rows that fail (unless told to take them), the check
// lists such rows of a log as warnings.
#pragma once

#include <QString>
#include <optional>

namespace datatool {

class Plausibility {
public:
    static constexpr double maxKilometres = 3000;
    static constexpr double maxLitres = 300;
    static constexpr double minConsumption = 1;
    static constexpr double maxConsumption = 60;

    struct Finding {
        int field = 0; // the log field the finding is about
        QString reason;
    };

    static std::optional<Finding> check(double kilometres, double litres, double consumption);

    // litres × 100 / kilometres as the calculator stores it; only for kilometres other than 0.
    static double storedConsumption(double litres, double kilometres);
};

} // namespace datatool

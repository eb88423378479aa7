// A sum of many doubles that keeps what each addition loses to rounding (Neumaier), so that
// fill-ups of a few decimals add up to the total their texts give, without float noise such as
// 39979,0599999999.
#pragma once

#include <cmath>

namespace datatool {

class ExactSum {
public:
    void add(double value)
    {
        const double total = m_total + value;
        m_lost +=
            std::abs(m_total) >= std::abs(value) ? (m_total - total) + value : (value - total) + m_total;
        m_total = total;
    }
    double value() const { return m_total + m_lost; }

private:
    double m_total = 0;
    double m_lost = 0;
};

} // namespace datatool

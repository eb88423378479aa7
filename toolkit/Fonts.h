// Fonts by name, point size and weight. The windows are designed for "Arial" and "MS Sans
// Serif"; where the system lacks them, a metric-compatible sans takes their place so that
// the captions still fit their controls.
#pragma once

#include <QFont>
#include <QString>

namespace toolkit {

class Fonts {
public:
    static constexpr int bold = 700;
    static constexpr int regular = 400;

    static QFont font(const QString &family, qreal pointSize, int weight);
    static QFont arial(qreal pointSize, int weight = bold)
    {
        return font(QStringLiteral("Arial"), pointSize, weight);
    }
    static QFont msSansSerif(qreal pointSize, int weight = bold)
    {
        return font(QStringLiteral("MS Sans Serif"), pointSize, weight);
    }
};

} // namespace toolkit

// The report's chart: the consumption of each fill-up over time and its moving average, drawn by
// Qt Charts and painted as vectors onto any painter (the report's PDF page).
#pragma once

#include "ReportData.h"

#include <QRectF>

class QPainter;

namespace datatool {

class ReportChart {
public:
    // Paints the chart of data.points into target; nothing when there are no points.
    static void paint(QPainter &painter, const QRectF &target, const ReportData &data);
};

} // namespace datatool

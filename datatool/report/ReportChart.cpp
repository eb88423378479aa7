#include "ReportChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QValueAxis>

namespace datatool {

namespace {

// The size the chart is laid out at before it is scaled into the page: fonts and lines are
// sized for this.
const QSizeF layoutSize(1000, 520);

// A gap between two fill-ups longer than this breaks the lines: no trend is drawn across it.
constexpr qint64 longestGapDays = 120;
// At most this many labels below the chart: with more, a month label ("07.2024") no longer fits
// its share of the axis and the chart shortens it to "07.20...".
constexpr int mostLabels = 8;

qreal msecs(const QDate &day, int hour = 12)
{
    return static_cast<qreal>(QDateTime(day, QTime(hour, 0)).toMSecsSinceEpoch());
}

// The labels of the time axis, each at the start of its day, month or year and each once: days for
// a period of up to two months, months for up to three years, years beyond.
struct TimeMarks {
    QList<QDate> marks; // the first is where the axis starts, the last where it ends
    QString format;
};

int stepFor(qint64 units, std::initializer_list<int> steps)
{
    for (const int step : steps) {
        if (units / step <= mostLabels)
            return step;
    }
    return static_cast<int>((units + mostLabels - 1) / mostLabels);
}

TimeMarks timeMarks(const QDate &first, const QDate &last)
{
    TimeMarks result;
    const qint64 days = first.daysTo(last);
    if (days <= 62) {
        const QDate from = days < 6 ? first.addDays(-3) : first;
        const QDate to = days < 6 ? last.addDays(4) : last.addDays(1);
        const int step = stepFor(from.daysTo(to), {1, 2, 3, 7, 14});
        for (QDate day = from; day < to.addDays(step); day = day.addDays(step))
            result.marks << day;
        result.format = QStringLiteral("dd.MM.");
        return result;
    }
    const int months = (last.year() - first.year()) * 12 + last.month() - first.month() + 1;
    if (months <= 36) {
        const int step = stepFor(months, {1, 2, 3, 6});
        QDate month(first.year(), first.month() - (first.month() - 1) % step, 1);
        for (; result.marks.isEmpty() || result.marks.last() <= last; month = month.addMonths(step))
            result.marks << month;
        result.format = QStringLiteral("MM.yyyy");
        return result;
    }
    const int step = stepFor(last.year() - first.year() + 1, {1, 2, 5, 10, 20, 50});
    for (QDate year(first.year() - first.year() % step, 1, 1);
         result.marks.isEmpty() || result.marks.last() <= last; year = year.addYears(step))
        result.marks << year;
    result.format = QStringLiteral("yyyy");
    return result;
}

} // namespace

void ReportChart::paint(QPainter &painter, const QRectF &target, const ReportData &data)
{
    if (data.points.isEmpty())
        return;

    auto *chart = new QChart;
    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns the chart and, through it, series and axes
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundVisible(false);
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::German, QLocale::Germany));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setMargins(QMargins(4, 4, 36, 4)); // room for the last label, centred on the axis' end
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    chart->legend()->setFont(font);

    const QPen fillUpPen(QColor(120, 150, 200), data.points.size() > 500 ? 1.0 : 1.5);
    const QPen movingPen(QColor(200, 40, 40), 3.0);
    QList<QLineSeries *> series;
    const auto addSegment = [&](const QList<QPointF> &points, const QPen &pen, const QString &name) {
        if (points.isEmpty())
            return;
        auto *line = new QLineSeries;
        line->setName(name);
        line->setPen(pen);
        line->setPointsVisible(pen == fillUpPen && data.points.size() <= 120);
        line->setMarkerSize(5);
        line->replace(points);
        chart->addSeries(line);
        series << line;
    };
    const QString fillUpName = QStringLiteral("Verbrauch je Tankung");
    const QString movingName = QStringLiteral("Gleitender Durchschnitt über %1 Tankungen (Liter × 100 / "
                                              "Kilometer dieser Tankungen)")
                                   .arg(data.movingWindow);
    QList<QPointF> fillUpPoints;
    QList<QPointF> movingPoints;
    double low = data.points.first().consumption;
    double high = low;
    QDate previous = data.points.first().day;
    for (const ReportData::Point &point : data.points) {
        if (previous.daysTo(point.day) > longestGapDays) {
            addSegment(fillUpPoints, fillUpPen, fillUpName);
            addSegment(movingPoints, movingPen, movingName);
            fillUpPoints.clear();
            movingPoints.clear();
        }
        previous = point.day;
        fillUpPoints.append(QPointF(msecs(point.day), point.consumption));
        low = std::min(low, point.consumption);
        high = std::max(high, point.consumption);
        if (point.hasMovingAverage)
            movingPoints.append(QPointF(msecs(point.day), point.movingAverage));
    }
    addSegment(fillUpPoints, fillUpPen, fillUpName);
    addSegment(movingPoints, movingPen, movingName);
    // One entry in the legend for each kind of line, however often a gap breaks it.
    QStringList named;
    for (QLineSeries *line : std::as_const(series)) {
        const bool first = !named.contains(line->name());
        named << line->name();
        for (QLegendMarker *marker : chart->legend()->markers(line))
            marker->setVisible(first);
    }

    auto *time = new QCategoryAxis;
    const TimeMarks marks = timeMarks(data.first, data.last);
    time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    time->setStartValue(msecs(marks.marks.first(), 0));
    for (const QDate &mark : marks.marks)
        time->append(QLocale(QLocale::German, QLocale::Germany).toString(mark, marks.format), msecs(mark, 0));
    time->setRange(msecs(marks.marks.first(), 0), msecs(marks.marks.last(), 0));
    time->setLabelsFont(font);
    auto *litres = new QValueAxis;
    litres->setTitleText(QStringLiteral("Liter pro 100 km"));
    litres->setTitleFont(font);
    litres->setLabelsFont(font);
    litres->setLabelFormat(QStringLiteral("%.1f"));
    const double span = high - low;
    const double pad = span > 0 ? span * 0.08 : std::max(std::abs(high) * 0.1, 1.0);
    litres->setRange(low - pad, high + pad);
    litres->applyNiceNumbers();
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(litres, Qt::AlignLeft);
    for (QLineSeries *line : std::as_const(series)) {
        line->attachAxis(time);
        line->attachAxis(litres);
    }

    chart->resize(layoutSize);
    chart->layout()->activate();
    scene.setSceneRect(QRectF(QPointF(0, 0), layoutSize));
    scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
}

} // namespace datatool

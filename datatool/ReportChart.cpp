#include "ReportChart.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QValueAxis>

namespace {

// The size the chart is laid out at before it is scaled into the page: fonts and lines are
// sized for this.
const QSizeF layoutSize(1000, 520);

qreal msecs(const QDate &day)
{
    return static_cast<qreal>(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
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
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    chart->legend()->setFont(font);

    auto *fillUps = new QLineSeries;
    fillUps->setName(QStringLiteral("Verbrauch je Tankung"));
    fillUps->setPen(QPen(QColor(120, 150, 200), data.points.size() > 500 ? 1.0 : 1.5));
    fillUps->setPointsVisible(data.points.size() <= 120);
    fillUps->setMarkerSize(5);
    auto *moving = new QLineSeries;
    moving->setName(QStringLiteral("Gleitender Durchschnitt über %1 Tankungen").arg(data.movingWindow));
    moving->setPen(QPen(QColor(200, 40, 40), 3.0));

    QList<QPointF> fillUpPoints;
    QList<QPointF> movingPoints;
    fillUpPoints.reserve(data.points.size());
    movingPoints.reserve(data.points.size());
    double low = data.points.first().consumption;
    double high = low;
    for (const ReportData::Point &point : data.points) {
        fillUpPoints.append(QPointF(msecs(point.day), point.consumption));
        low = std::min(low, point.consumption);
        high = std::max(high, point.consumption);
        if (point.hasMovingAverage)
            movingPoints.append(QPointF(msecs(point.day), point.movingAverage));
    }
    fillUps->replace(fillUpPoints);
    moving->replace(movingPoints);
    chart->addSeries(fillUps);
    chart->addSeries(moving);

    auto *time = new QDateTimeAxis;
    const qint64 days = data.first.daysTo(data.last);
    // Years alone only where the ticks lie a year or more apart, so that no label repeats.
    const int ticks = 7;
    time->setFormat(days / (ticks - 1) >= 366 ? QStringLiteral("yyyy") : QStringLiteral("MM.yyyy"));
    time->setTickCount(ticks);
    QDate from = data.first;
    QDate to = data.last;
    if (days < 30) { // a single day or a few: a month around them
        from = from.addDays(-15);
        to = to.addDays(15);
    }
    time->setRange(QDateTime(from, QTime(0, 0)), QDateTime(to, QTime(23, 59)));
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
    for (QLineSeries *series : {fillUps, moving}) {
        series->attachAxis(time);
        series->attachAxis(litres);
    }

    chart->resize(layoutSize);
    chart->layout()->activate();
    scene.setSceneRect(QRectF(QPointF(0, 0), layoutSize));
    scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
}

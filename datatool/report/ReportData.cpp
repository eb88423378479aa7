#include "ReportData.h"

#include "ExactSum.h"
#include "LogRows.h"

#include "Consumption.h"
#include "Failure.h"
#include "LogNames.h"
#include "NumberText.h"
#include "RowCache.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace datatool {

namespace {

std::optional<double> numberOf(const QVariant &value)
{
    return LogRows::number(value);
}

struct Dated {
    QDate day;
    std::optional<double> kilometres;
    std::optional<double> litres;
    std::optional<double> consumption;
};

struct Sums {
    qint64 fillUps = 0;
    ExactSum kilometres;
    ExactSum litres;

    void add(const Dated &fillUp)
    {
        ++fillUps;
        kilometres.add(fillUp.kilometres.value_or(0.0));
        litres.add(fillUp.litres.value_or(0.0));
    }
    ReportData::Period period(const QString &label) const
    {
        if (fillUps == 0)
            return ReportData::Period{label, 0, QString(), QString(), QString()};
        const QString cutKilometres = core::NumberText::cut(core::NumberText::text(kilometres.value()));
        const QString cutLitres = core::NumberText::cut(core::NumberText::text(litres.value()));
        return ReportData::Period{
            label, fillUps, ReportData::grouped(cutKilometres), ReportData::grouped(cutLitres),
            ReportData::twoDecimals(core::Consumption::average(cutLitres, cutKilometres))};
    }
};

} // namespace

QString ReportData::grouped(const QString &numberText)
{
    if (numberText.contains(QLatin1Char('E')))
        return numberText;
    const qsizetype comma = numberText.indexOf(QLatin1Char(','));
    qsizetype end = comma < 0 ? numberText.size() : comma;
    const qsizetype begin = numberText.startsWith(QLatin1Char('-')) ? 1 : 0;
    QString text = numberText;
    for (qsizetype at = end - 3; at > begin; at -= 3)
        text.insert(at, QLatin1Char('.'));
    return text;
}

QString ReportData::twoDecimals(const QString &consumption)
{
    if (consumption.isEmpty() || consumption.contains(QLatin1Char('E')))
        return consumption;
    const qsizetype comma = consumption.indexOf(QLatin1Char(','));
    if (comma < 0)
        return consumption + QStringLiteral(",00");
    return consumption + QString(std::max<qsizetype>(0, 3 - (consumption.size() - comma)), QLatin1Char('0'));
}

ReportData ReportData::read(const logstore::Connection &connection, const QString &table)
{
    using core::LogNames;
    connection.requireTable(table);

    ReportData data;
    data.vehicle = table;
    {
        // The summary view as the overview reads it, with the same checks of its two sums.
        const logstore::RowCache totals(connection, LogNames::summaryOf(table));
        if (const std::optional<QStringList> sums = totals.count() > 0 ? totals.readRow(0) : std::nullopt) {
            data.totalKilometres = sums->at(0);
            data.totalLitres = sums->at(1);
        }
    }
    data.average = core::Consumption::average(data.totalLitres, data.totalKilometres);

    std::vector<Dated> dated;
    std::map<int, Sums> years;
    LogRows::forEach(connection, table, [&](const LogRows::Entry &entry) {
        ++data.entries;
        const QDate day = QDate::fromString(entry.text(LogRows::Date), QStringLiteral("dd.MM.yyyy"));
        if (!day.isValid()) {
            data.undated.append(
                Undated{entry.position, {entry.text(0), entry.text(1), entry.text(2), entry.text(3)}});
            return;
        }
        const Dated fillUp{day, numberOf(entry.values[LogRows::Kilometres]),
                           numberOf(entry.values[LogRows::Litres]),
                           numberOf(entry.values[LogRows::Consumption])};
        dated.push_back(fillUp);
        years[day.year()].add(fillUp);
    });

    for (const auto &[year, sums] : years)
        data.years.append(sums.period(QString::number(year)));

    // By date; fill-ups of the same day keep their stored order.
    std::stable_sort(dated.begin(), dated.end(),
                     [](const Dated &a, const Dated &b) { return a.day < b.day; });
    if (!dated.empty()) {
        data.first = dated.front().day;
        data.last = dated.back().day;
        const QDate lastMonth(data.last.year(), data.last.month(), 1);
        // Twelve months back from the last fill-up, but not before the log begins: a young log
        // gets no rows of months in which it did not exist yet.
        const QDate firstMonth =
            std::max(lastMonth.addMonths(-11), QDate(data.first.year(), data.first.month(), 1));
        std::map<QDate, Sums> months;
        for (const Dated &fillUp : dated) {
            if (fillUp.day >= firstMonth)
                months[QDate(fillUp.day.year(), fillUp.day.month(), 1)].add(fillUp);
        }
        for (QDate month = firstMonth; month <= lastMonth; month = month.addMonths(1))
            data.lastMonths.append(months[month].period(month.toString(QStringLiteral("MM.yyyy"))));
    }
    for (const Dated &fillUp : dated) {
        if (!fillUp.consumption || fillUp.kilometres.value_or(0.0) <= 0 || fillUp.litres.value_or(0.0) <= 0)
            continue;
        const FillUp candidate{fillUp.day, *fillUp.kilometres, *fillUp.litres, *fillUp.consumption};
        if (!data.best || candidate.consumption < data.best->consumption)
            data.best = candidate;
        if (!data.worst || candidate.consumption > data.worst->consumption)
            data.worst = candidate;
    }
    data.movingWindow = std::max<qsizetype>(5, static_cast<qsizetype>(dated.size()) / 50);
    const size_t window = static_cast<size_t>(data.movingWindow);
    // Sums over the window, kept as it slides: what enters is added, what leaves taken away.
    const auto kilometresOf = [](const Dated &d) { return d.kilometres && d.litres ? *d.kilometres : 0.0; };
    const auto litresOf = [](const Dated &d) { return d.kilometres && d.litres ? *d.litres : 0.0; };
    double kilometres = 0;
    double litres = 0;
    for (size_t i = 0; i < dated.size(); ++i) {
        kilometres += kilometresOf(dated[i]);
        litres += litresOf(dated[i]);
        if (i >= window) {
            kilometres -= kilometresOf(dated[i - window]);
            litres -= litresOf(dated[i - window]);
        }
        if (!dated[i].consumption)
            continue;
        Point point{dated[i].day, *dated[i].consumption};
        if (kilometres != 0.0) {
            point.movingAverage = litres * 100.0 / kilometres;
            point.hasMovingAverage = std::isfinite(point.movingAverage);
        }
        data.points.append(point);
    }
    return data;
}

} // namespace datatool

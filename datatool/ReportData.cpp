#include "ReportData.h"

#include "LogRows.h"

#include "Consumption.h"
#include "Failure.h"
#include "LogNames.h"
#include "NumberText.h"

#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace {

std::optional<double> numberOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return core::NumberText::read(LogRows::text(value));
}

struct Dated {
    QDate day;
    std::optional<double> kilometres;
    std::optional<double> litres;
    std::optional<double> consumption;
};

struct YearSums {
    qint64 fillUps = 0;
    double kilometres = 0;
    double litres = 0;
};

} // namespace

ReportData ReportData::read(const logstore::Connection &connection, const QString &table)
{
    using core::LogNames;
    connection.requireTable(table);
    const QString view = LogNames::views().at(LogNames::tables().indexOf(table));
    connection.requireView(view);

    ReportData data;
    data.vehicle = table;
    {
        QSqlQuery totals(connection.database());
        totals.setForwardOnly(true);
        if (!totals.exec(QStringLiteral("SELECT * FROM %1").arg(LogNames::quoted(view))) || !totals.next())
            throw connection.failure(
                QStringLiteral("Die Abfrage \"%1\" kann nicht gelesen werden.").arg(view),
                totals.lastError());
        data.totalKilometres = LogRows::text(totals.value(0));
        data.totalLitres = LogRows::text(totals.value(1));
    }
    data.average = core::Consumption::average(data.totalLitres, data.totalKilometres);

    std::vector<Dated> dated;
    std::map<int, YearSums> years;
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
        YearSums &sums = years[day.year()];
        ++sums.fillUps;
        sums.kilometres += fillUp.kilometres.value_or(0.0);
        sums.litres += fillUp.litres.value_or(0.0);
    });

    for (const auto &[year, sums] : years) {
        const QString kilometres = core::NumberText::text(sums.kilometres);
        const QString litres = core::NumberText::text(sums.litres);
        data.years.append(
            Year{year, sums.fillUps, kilometres, litres, core::Consumption::average(litres, kilometres)});
    }

    // By date; fill-ups of the same day keep their stored order.
    std::stable_sort(dated.begin(), dated.end(),
                     [](const Dated &a, const Dated &b) { return a.day < b.day; });
    if (!dated.empty()) {
        data.first = dated.front().day;
        data.last = dated.back().day;
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

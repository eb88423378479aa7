// What the report of one vehicle log shows, read from the log without any painting: totals and
// average exactly as the overview shows them, the consumption of each fill-up over time with a
// moving average, a line per year and per month of the last twelve, the best and the worst
// fill-up, and the entries whose date is no calendar date. Also how the report writes numbers.
#pragma once

#include "Connection.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace datatool {

class ReportData {
public:
    struct Point {
        QDate day;
        double consumption = 0;   // as stored
        double movingAverage = 0; // litres x 100 / km over this and the fill-ups before it
        bool hasMovingAverage = false;
    };
    // A year or a month: sums as number texts with thousands separators, cut to two decimals.
    struct Period {
        QString label; // "2023", "03.2023"
        qint64 fillUps = 0;
        QString kilometres;
        QString litres;
        QString average; // two decimals; empty when it cannot be computed
    };
    struct FillUp {
        QDate day;
        double kilometres = 0;
        double litres = 0;
        double consumption = 0; // as stored
    };
    struct Undated {
        qint64 position = 0;
        QStringList texts; // the four fields as the program shows them
    };

    // Throws core::Failure when the log, its table or its summary view cannot be read.
    static ReportData read(const logstore::Connection &connection, const QString &table);

    QString vehicle;
    qint64 entries = 0;
    QString totalKilometres;
    QString totalLitres;
    QString average; // empty when the overview shows none
    QDate first;
    QDate last;
    QList<Point> points; // calendar-dated fill-ups with a consumption, by date
    // Fill-ups the moving average spans: 5, and for a long log a fiftieth of it, so that the line
    // shows the trend rather than the scatter of single fill-ups.
    qsizetype movingWindow = 5;
    QList<Period> years;
    QList<Period> lastMonths; // the twelve months up to the last fill-up, each with fill-ups or not
    // Lowest and highest stored consumption of the fill-ups with kilometres and litres above 0.
    std::optional<FillUp> best;
    std::optional<FillUp> worst;
    QList<Undated> undated;

    // A number text with dots between thousands: 89482,5 gives 89.482,5; exponent forms stay.
    static QString grouped(const QString &numberText);
    // A consumption as the program cuts it, written with two decimals: 7,5 gives 7,50.
    static QString twoDecimals(const QString &consumption);
};

} // namespace datatool

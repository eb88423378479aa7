// What the report of one vehicle log shows, read from the log without any painting: totals and
// average exactly as the overview shows them, the consumption of each fill-up over time with a
// moving average, a line per year, and the entries whose date is no calendar date.
#pragma once

#include "Connection.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class ReportData {
public:
    struct Point {
        QDate day;
        double consumption = 0;   // as stored
        double movingAverage = 0; // litres x 100 / km over this and the fill-ups before it
        bool hasMovingAverage = false;
    };
    struct Year {
        int year = 0;
        qint64 fillUps = 0;
        QString kilometres;
        QString litres;
        QString average; // empty when it cannot be computed
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
    QList<Year> years;
    QList<Undated> undated;
};

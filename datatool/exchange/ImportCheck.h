// Checks one data row of a file to import: the date as ImportDate reads it, kilometres (not 0)
// and litres as numbers, the consumption taken as given when it is a number and computed and cut
// as the calculator does when it is empty, and the fill-up's plausibility. Remembers across rows
// what makes a number of a ',' file mean two things: a number like 1.234 in a file that also
// writes German numbers ("38,4") is refused, wherever in the file the two stand.
#pragma once

#include "Failure.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace datatool {

class ImportCheck {
public:
    struct Entry {
        QString date; // TT.MM.JJJJ
        QDate day;
        double kilometres = 0;
        double litres = 0;
        double consumption = 0;
        bool implausible = false;
        bool twoDigitYear = false;
    };

    // separator: that of the file, which decides how numbers are read. takeImplausible: rows that
    // fail the plausibility are taken and marked instead of refused.
    ImportCheck(char separator, const QDate &today, bool takeImplausible);

    // fields in the order of the log's fields. Throws core::Failure naming the line, the field
    // and its text, and why it is refused.
    Entry check(qint64 line, const QStringList &fields);

private:
    double number(qint64 line, int field, const QString &text);
    core::Failure ambiguous() const;

    struct Place {
        qint64 line = 0;
        int field = 0;
        QString text;
    };

    char m_separator;
    QDate m_today;
    bool m_takeImplausible;
    Place m_firstGrouped;      // a ',' file's number like 1.234; line 0 when none
    Place m_firstDecimalComma; // a ',' file's number like "38,4"; line 0 when none
};

} // namespace datatool

// Reads the date of a row to import as spreadsheets and old logs write it, and says in the words
// of a file what is wrong with it. Taken: TT.MM.JJJJ, days and months of one digit, two-digit
// years (20JJ, or 19JJ where 20JJ would lie after this year), JJJJ-MM-TT, and any of these
// followed by a midnight time (00:00 or 00:00:00), as mdb-export writes date fields without -T
// and spreadsheets write a date cell with a time format. The log always receives TT.MM.JJJJ.
#pragma once

#include <QDate>
#include <QString>

namespace datatool {

class ImportDate {
public:
    struct Reading {
        QDate day;       // valid when the date is taken
        QString refusal; // why not, when it is not
        bool twoDigitYear = false;
        QString text() const; // TT.MM.JJJJ, empty when not taken
    };

    static Reading read(const QString &text, const QDate &today);

    // The year a two-digit year stands for.
    static int century(int twoDigits, const QDate &today);
};

} // namespace datatool

// Checks one data row of a file to import with the program's own rules: the date as the editor's
// date check accepts it, kilometres (not 0) and litres as numbers, the consumption taken as given
// when it is a number and computed and cut as the calculator does when it is empty.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class ImportCheck {
public:
    struct Entry {
        QString date;
        QDate day;
        double kilometres = 0;
        double litres = 0;
        double consumption = 0;
    };

    // todayText: "dd.MM.yyyy"; separator: that of the file, which decides how numbers are read.
    ImportCheck(char separator, const QString &todayText);

    // fields in the order of the log's fields. Throws core::Failure naming the line, the field
    // and its text, and why it is refused.
    Entry check(qint64 line, const QStringList &fields) const;

private:
    double number(qint64 line, int field, const QString &text) const;

    char m_separator;
    QString m_today;
};

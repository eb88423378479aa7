// The strict check of a fill-up date: each refusal with its message, in the order the tests run,
// and the dates it accepts. Today is 15.06.2024 unless a row says otherwise.
#include "DateCheck.h"

#include <QTest>

class DateCheckTest : public QObject {
    Q_OBJECT
private slots:
    void refusal_data();
    void refusal();
};

void DateCheckTest::refusal_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("today");
    const QString today = QStringLiteral("15.06.2024");
    const QString length =
        QStringLiteral("Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!");
    const QString separator = QStringLiteral("Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!");
    const QString future =
        QStringLiteral("Falsches Datum angegeben,Jahreszahl größer als aktuelles Datum !!");
    const QString day = QStringLiteral("Falscher Tag angegeben.\r\nBitte nur Zahlen vo 0-31 angeben");
    const QString month = QStringLiteral("Falscher Monat angegeben.\r\nBitte nur Zahlen vo 0-12 angeben");
    const QString noSuchDay =
        QStringLiteral("Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!");

    // clang-format off
    QTest::newRow("empty") << "" << "Ohne Datum läuft hier garnichts !" << today;
    QTest::newRow("one-digit day") << "1.01.2020" << length << today;
    QTest::newRow("blanks shorter than a date") << "         " << length << today;
    QTest::newRow("slash as first separator") << "01/01.2020" << separator << today;
    QTest::newRow("blanks as long as a date") << "          " << separator << today;
    QTest::newRow("comma as second separator") << "01.01,2020" << separator << today;
    QTest::newRow("next year") << "01.01.2025" << future << today;
    QTest::newRow("a century later, not the same two digits") << "01.01.2124" << future << today;
    QTest::newRow("later day this month") << "16.06.2024" << future << today;
    QTest::newRow("later month this year") << "01.07.2024" << future << today;
    QTest::newRow("day 32 this month, future first") << "32.06.2024" << future << today;
    QTest::newRow("year 1899") << "31.12.1899" << "Geburtsjahr vor 1900 ist ungültig !!" << today;
    QTest::newRow("eleven characters") << "01.01.x2023" << "Falsches Datum angegeben (Format oder Länge falsch) !!" << today;
    QTest::newRow("letter in the day") << "a1.01.2023" << day << today;
    QTest::newRow("day 00") << "00.01.2023" << "Falsches Datum angegeben (Tag kleiner 1 ) !!" << today;
    QTest::newRow("day 32") << "32.01.2023" << "Falsches Datum angegeben (Tag größer 31) !!" << today;
    QTest::newRow("letter in the month") << "01.x1.2023" << month << today;
    QTest::newRow("month 00") << "01.00.2023" << "Falsches Datum angegeben (Monat kleiner 1)!!" << today;
    QTest::newRow("month 13") << "01.13.2023" << "Falsches Datum angegeben (Monat größer 12) !!" << today;
    QTest::newRow("no 31 April") << "31.04.2023" << noSuchDay << today;
    QTest::newRow("no 29 February 1900") << "29.02.1900" << noSuchDay << today;
    QTest::newRow("day with a leading blank") << " 1.01.1999" << day << today;
    QTest::newRow("day with a leading dot") << ".1.01.1999" << day << today;
    QTest::newRow("day with a plus sign") << "+1.01.1999" << day << today;
    QTest::newRow("day half an exponent") << "1e.01.1999" << day << today;
    QTest::newRow("month with a trailing comma") << "01.1,.1999" << month << today;
    QTest::newRow("month with a leading blank") << "01. 1.1999" << month << today;
    QTest::newRow("today") << "15.06.2024" << "" << today;
    QTest::newRow("earlier month, later day") << "31.05.2024" << "" << today;
    QTest::newRow("1 January 1900") << "01.01.1900" << "" << today;
    QTest::newRow("29 February 2000") << "29.02.2000" << "" << today;
    QTest::newRow("today in year 9999") << "31.12.9999" << "" << "31.12.9999";
    // clang-format on
}

void DateCheckTest::refusal()
{
    QFETCH(QString, date);
    QFETCH(QString, message);
    QFETCH(QString, today);
    QCOMPARE(core::DateCheck::refusal(date, today).value_or(QString()), message);
}

QTEST_APPLESS_MAIN(DateCheckTest)
#include "tst_datecheck.moc"

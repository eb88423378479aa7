// The editor's date check on its window, with today fixed at 15.06.2024: every refusal with its
// message, and the dates it must let through untouched.
#include "EditorFixture.h"

#include <QTest>

class DatumsabfrageTest : public QObject {
    Q_OBJECT
private slots:
    void check_data();
    void check();
};

void DatumsabfrageTest::check_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message"); // empty: accepted

    const QString future =
        QStringLiteral("Falsches Datum angegeben,Jahreszahl größer als aktuelles Datum !!");
    const QString separator = QStringLiteral("Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!");
    const QString format = QStringLiteral("Falsches Datum angegeben (Format oder Länge falsch) !!");
    const QString noSuchDay =
        QStringLiteral("Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!");

    QTest::newRow("1 empty") << "" << QStringLiteral("Ohne Datum läuft hier garnichts !");
    QTest::newRow("2 one-digit day")
        << "1.01.2020"
        << QStringLiteral("Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!");
    QTest::newRow("2 blanks only")
        << "         "
        << QStringLiteral("Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!");
    QTest::newRow("3 slash") << "01/01.2020" << separator;
    QTest::newRow("3 blanks of full length") << "          " << separator;
    QTest::newRow("4 comma") << "01.01,2020" << separator;
    QTest::newRow("4 hyphen") << "01.01-2020" << separator;
    QTest::newRow("5 next year") << "01.01.2025" << future;
    QTest::newRow("6 later day this month") << "16.06.2024" << future;
    QTest::newRow("6 later month this year") << "01.07.2024" << future;
    QTest::newRow("6 day 32 this month") << "32.06.2024" << future;
    QTest::newRow("6 month 13 this year") << "01.13.2024" << future;
    QTest::newRow("6 letter day this month") << "a1.06.2024" << future;
    QTest::newRow("7 year 1899") << "31.12.1899" << QStringLiteral("Geburtsjahr vor 1900 ist ungültig !!");
    QTest::newRow("8 eleven characters") << "01.01.x2023" << format;
    QTest::newRow("8 year with a blank") << "01.01.20 1" << format;
    QTest::newRow("8 year with a dot") << "01.01.20.1" << format;
    QTest::newRow("9 letter day") << "a1.01.2023"
                                  << QStringLiteral(
                                         "Falscher Tag angegeben.\r\nBitte nur Zahlen vo 0-31 angeben");
    QTest::newRow("10 day 00") << "00.01.2023"
                               << QStringLiteral("Falsches Datum angegeben (Tag kleiner 1 ) !!");
    QTest::newRow("11 day 32") << "32.01.2023"
                               << QStringLiteral("Falsches Datum angegeben (Tag größer 31) !!");
    QTest::newRow("12 letter month") << "01.x1.2023"
                                     << QStringLiteral(
                                            "Falscher Monat angegeben.\r\nBitte nur Zahlen vo 0-12 angeben");
    QTest::newRow("13 month 00") << "01.00.2023"
                                 << QStringLiteral("Falsches Datum angegeben (Monat kleiner 1)!!");
    QTest::newRow("14 month 13") << "01.13.2023"
                                 << QStringLiteral("Falsches Datum angegeben (Monat größer 12) !!");
    QTest::newRow("no 31 April") << "31.04.2023" << noSuchDay;
    QTest::newRow("no 30 February") << "30.02.2020" << noSuchDay;
    QTest::newRow("no 29 February in 2023") << "29.02.2023" << noSuchDay;
    QTest::newRow("no 29 February in 1900") << "29.02.1900" << noSuchDay;

    QTest::newRow("accepted today") << "15.06.2024"
                                    << "";
    QTest::newRow("accepted earlier month, later day") << "31.05.2024"
                                                       << "";
    QTest::newRow("accepted earlier day this month") << "14.06.2024"
                                                     << "";
    QTest::newRow("accepted 1 January 1900") << "01.01.1900"
                                             << "";
    QTest::newRow("accepted leap day 2020") << "29.02.2020"
                                            << "";
    QTest::newRow("accepted leap day 2000") << "29.02.2000"
                                            << "";
    QTest::newRow("accepted last day of last year") << "31.12.2023"
                                                    << "";
}

void DatumsabfrageTest::check()
{
    QFETCH(QString, date);
    QFETCH(QString, message);

    EditorFixture f;
    f.log.append(QStringLiteral("Auto"), {"01.01.2024", "500", "40", "8"});
    f.datensatznummer = 0;
    QVERIFY(f.activate());
    QTRY_COMPARE(f.text(1)->text(), QStringLiteral("01.01.2024"));
    f.messages.clear();
    f.text(2)->setFocus();
    f.put(1, date);
    const bool accepted = message.isEmpty();
    // Accepted dates must leave the flag as it was, so start it at the value a refusal would not give.
    f.editor->Datumsfehler = accepted;
    f.editor->Tag = QStringLiteral("xx");

    f.editor->Datumsabfrage();

    QCOMPARE(f.editor->Tag, QStringLiteral("15"));
    QCOMPARE(f.editor->Datumsfehler, true);
    if (accepted) {
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(f.text(1)->text(), date);
        QCOMPARE(f.editor->focusWidget(), f.text(2));
    } else {
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().first().prompt, message);
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("Datum n.i.O."));
        QCOMPARE(f.messages.shown().first().icon, toolkit::MessageBox::Icon::None);
        QCOMPARE(f.text(1)->text(), QString());
        QCOMPARE(f.editor->focusWidget(), f.text(1));
    }
}

QTEST_MAIN(DatumsabfrageTest)
#include "tst_datumsabfrage.moc"

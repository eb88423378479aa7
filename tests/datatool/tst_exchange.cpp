// Export and import through the built tankverzehr-daten on real logs: the round trip, the file
// formats it reads (its own, a German spreadsheet's, mdb-export's), refused rows and files, and
// duplicates. A refused import must leave the log exactly as it was.
#include "DataToolProcess.h"

#include "Connection.h"
#include "TestLog.h"

#include <QDate>
#include <QDir>
#include <QSqlQuery>
#include <QTest>

namespace {

const QByteArray header = "Datum;Gefahrene Kilometer;Getankte Liter;Verbrauch auf 100 km in Liter\r\n";
const QByteArray commaHeader = "Datum,Gefahrene Kilometer,Getankte Liter,Verbrauch auf 100 km in Liter\n";
const QStringList earlier{"02.01.2023", "550", "41", "7,45"};

using Rows = QList<QStringList>;

QByteArray fileBytes(const QByteArray &bytes)
{
    return bytes.startsWith('@') ? DataToolProcess::testFile(QString::fromUtf8(bytes.mid(1))) : bytes;
}

} // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QByteArray>("firstRow");

        // clang-format off
        QTest::newRow("semicolon: decimal comma, for spreadsheets") << ";" << "Auto" << QByteArray("03.01.2023;600;45,5;7,58");
        QTest::newRow("comma: decimal point, for other programs") << "," << "Motorrad" << QByteArray("03.01.2023,600,45.5,7.58");
        // clang-format on
    }

    void roundTrip()
    {
        QFETCH(QString, separator);
        QFETCH(QString, table);
        QFETCH(QByteArray, firstRow);

        TestLog source;
        // Recorded as the calculator does (some beyond what one fill-up gives, which the calculator
        // lets through), then imported with the consumption left to the import to compute.
        source.record(table, {{"03.01.2023", "600", "45,5", "7,58"},
                              {"17.02.2023", "512,5", "40,25", "7,85"},
                              {"18.02.2023", "1E+15", "0,07", "7E-15"},
                              {"19.02.2023", "-100", "10", "-10"},
                              {"20.02.2023", "0,125", "1,5E-05", "0,01"}});
        const QString computed = source.write(
            QStringLiteral("computed.csv"), header + "21.02.2023;40,123456789012345;3,3333333333333335;\r\n"
                                                     "22.02.2023;0,1;1E-300;\r\n23.02.2023;700,3;49,97;\r\n");
        QCOMPARE(DataToolProcess::run({"import", computed, "--fahrzeug", table, "--log", source.path(),
                                       "--unplausible-zulassen"})
                     .exitCode,
                 0);

        const QString file = source.filePath(QStringLiteral("log.csv"));
        const auto exported = DataToolProcess::run({"export", "--log", source.path(), "--fahrzeug", table,
                                                    "--trennzeichen", separator, "--ziel", file});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(exported.out.contains(QStringLiteral("8 Einträge aus \"%1\"").arg(table)));
        const QByteArray bytes = TestLog::bytes(file);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), separator == QLatin1String(";"));
        QCOMPARE(bytes.split('\n').at(1), firstRow + '\r');

        TestLog target;
        const auto imported = DataToolProcess::run(
            {"import", file, "--fahrzeug", table, "--log", target.path(), "--unplausible-zulassen"});
        QCOMPARE(imported.exitCode, 0);
        // Value for value, as the engine writes each one exactly.
        const QString sql =
            QStringLiteral("SELECT quote(\"Datum\"), quote(\"Gefahrene Kilometer\"), "
                           "quote(\"Getankte Liter\"), quote(\"Verbrauch auf 100 km in Liter\") "
                           "FROM \"%1\" ORDER BY rowid")
                .arg(table);
        const QList<QVariantList> values = TestLog::query(source.path(), sql);
        QCOMPARE(values.size(), 8);
        QCOMPARE(values.at(5).at(1).toString(), QStringLiteral("4.01234567890123443572e+01"));
        QCOMPARE(TestLog::query(target.path(), sql), values);
    }

    void importFormats_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "@name": a file of tests/datatool/dateien
        QTest::addColumn<Rows>("stored");
        QTest::addColumn<QString>("note"); // a part of the summary

        // mdb-export writes the header unquoted, text and date fields in double quotes, numbers unquoted
        // in C notation (Double as %.16g, Single as %.8g), NULL as nothing, LF after each row. Old logs
        // may keep numbers in text fields, quoted and with the decimal comma.
        // clang-format off
        QTest::newRow("mdb-export of an old log") << QByteArray(commaHeader + "\"03.01.2023\",600,45.5,7.58\n\"17.02.2023\",512.5,40.25,\n\"01.03.2023\",\"480\",\"38,4\",\"8\"\n\"02.03.2023\",100,6.3000002,6.3\n") << Rows{{"03.01.2023", "600", "45,5", "7,58"},
                    {"17.02.2023", "512,5", "40,25", "7,85"},
                    {"01.03.2023", "480", "38,4", "8"},
                    {"02.03.2023", "100", "6,3000002", "6,3"}} << "4 Einträge";
        QTest::newRow("mdb-export without -T: midnight times") << QByteArray("@mdb-export/ohne-T.csv") << Rows{{"03.01.2023", "600", "45,5", "7,58"}, {"17.02.2023", "512,5", "40,25", "7,85"}, {"02.03.2023", "100", "6,3000002", "6,3"}} << "3 Einträge";
        // LibreOffice Calc in German, each file saved "as shown" from our export or a user's sheet.
        const Rows calc{{"04.01.2021", "600", "45,5", "7,58"}, {"17.02.2021", "1234,5", "98,7", "7,99"}, {"03.03.2021", "512,5", "40,25", "7,85"}};
        QTest::newRow("LibreOffice, dates as shown") << QByteArray("@libreoffice/export.csv") << calc << "3 Daten mit zweistelligem Jahr";
        QTest::newRow("LibreOffice, price and a note column") << QByteArray("@libreoffice/tabelle.csv") << calc << "Spalten »Preis« und 6 (ohne Überschrift) nicht übernommen.";
        QTest::newRow("LibreOffice, Unicode-Text: UTF-16 and tabs") << QByteArray("@libreoffice/export.txt") << calc << "3 Einträge";
        QTest::newRow("an empty column without heading says nothing") << QByteArray(header.chopped(2) + ";\r\n05.04.2023;600;42;;\r\n") << Rows{{"05.04.2023", "600", "42", "7"}} << "600 km und 42 Liter.\n";
        QTest::newRow("two-digit years of the last century") << QByteArray(header + "05.04.99;600;42;\r\n05.04.00;600;42;\r\n") << Rows{{"05.04.1999", "600", "42", "7"}, {"05.04.2000", "600", "42", "7"}} << "2 Daten";
        QTest::newRow("implausible rows taken when asked, counted") << QByteArray(header + "05.04.2023;-512,3;42;\r\n06.04.2023;600;42;9\r\n07.04.2023;600;42;7\r\n") << Rows{{"05.04.2023", "-512,3", "42", "-8,19"}, {"06.04.2023", "600", "42", "9"}, {"07.04.2023", "600", "42", "7"}} << "Darunter 2 Einträge unplausibel";
        // Saved as "CSV (Trennzeichen-getrennt)": Windows-1252, CR LF, ';', grouped thousands, quotes
        // where the user typed them, and a row below the data that holds only a non-breaking space
        // (0xA0): read as Windows-1252 it is blank and skipped, read as UTF-8 it would be refused.
        QTest::newRow("German spreadsheet, Windows-1252") << QByteArray(header + "05.04.2023;1.234,5;98,7;\r\n\"06.04.2023\";\"600\";\"42\";7\r\n\xA0;;;\r\n") << Rows{{"05.04.2023", "1234,5", "98,7", "7,99"}, {"06.04.2023", "600", "42", "7"}} << "1834,5 km und 140,7 Liter";
        // Unquoted fields lose the blanks around them whether or not another field of the line is
        // quoted; a lone CR ends a row as well.
        QTest::newRow("blanks around fields, with and without quotes") << QByteArray(header + " 05.04.2023 ;\t600\t; 42 ;\r\n\"06.04.2023\" ; 600;\t42;7 \r\n") << Rows{{"05.04.2023", "600", "42", "7"}, {"06.04.2023", "600", "42", "7"}} << "2 Einträge";
        QTest::newRow("tabs between fields, blanks around them") << QByteArray("Datum\tVerbrauch auf 100 km in Liter\tGefahrene Kilometer\tGetankte Liter\n05.04.2023\t\t 600 \t42\n\t\t\t\n") << Rows{{"05.04.2023", "600", "42", "7"}} << "1 Eintrag";
        QTest::newRow("a lone CR between two rows") << QByteArray(header + "05.04.2023;600;42;\r06.04.2023;500;35;7\r\n") << Rows{{"05.04.2023", "600", "42", "7"}, {"06.04.2023", "500", "35", "7"}} << "2 Einträge";
        QTest::newRow("no line break after the last row") << QByteArray(header + "03.01.2023;600;45,5;7,58") << Rows{{"03.01.2023", "600", "45,5", "7,58"}} << "1 Eintrag";
        QTest::newRow("columns in another order, quoted names, UTF-8 with BOM") << QByteArray( "\xEF\xBB\xBF\"Getankte Liter\";\"Datum\";\"Verbrauch auf 100 km in Liter\";\"Gefahrene " "Kilometer\"\r\n45,5;03.01.2023;;600\r\n") << Rows{{"03.01.2023", "600", "45,5", "7,58"}} << "1 Eintrag";
        // clang-format on
    }

    void importFormats()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, stored);
        QFETCH(QString, note);

        TestLog log;
        log.record("Auto", {earlier});
        const QString file = log.write(QStringLiteral("in.csv"), fileBytes(bytes));
        // The vehicle in any case.
        QStringList arguments{"import", file, "--fahrzeug", "auto", "--log", log.path()};
        if (note.contains(QLatin1String("unplausibel")))
            arguments << "--unplausible-zulassen";
        const auto result = DataToolProcess::run(arguments);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QVERIFY2(result.out.contains(note), qPrintable(result.out));
        QCOMPARE(log.rows("Auto"), Rows{earlier} + stored);
        QCOMPARE(log.count("Motorrad"), 0);
    }

    void refusedRows_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");

        // clang-format off
        QTest::newRow("litres not a number, after a good row") << QByteArray(header + "03.01.2023;600;45,5;7,58\r\n04.01.2023;600;4x;\r\n") << "Zeile 3, Feld \"Getankte Liter\": \"4x\" ist keine Zahl.";
        QTest::newRow("counted past an empty line") << QByteArray(commaHeader + "\"03.01.2023\",600,45.5,\n\n\"04.01.2023\",600,4x,\n") << "Zeile 4, Feld \"Getankte Liter\": \"4x\" ist keine Zahl.";
        QTest::newRow("decimal point in a semicolon file") << QByteArray(header + "03.01.2023;100;6.3;\r\n") << "Zeile 2, Feld \"Getankte Liter\": \"6.3\" ist keine Zahl. In Dateien mit \";\"";
        QTest::newRow("grouped thousands in a comma file") << QByteArray(commaHeader + "03.01.2023,\"1,234.5\",45.5,\n") << "Zeile 2, Feld \"Gefahrene Kilometer\": \"1,234.5\" ist keine Zahl. In Dateien mit \",\"";
        QTest::newRow("kilometres 0") << QByteArray(header + "03.01.2023;0;45,5;7\r\n") << "Zeile 2, Feld \"Gefahrene Kilometer\": \"0\" wird nicht angenommen: Die " "Kilometerangabe darf nicht 0 sein.";
        QTest::newRow("consumption not a number") << QByteArray(header + "03.01.2023;600;45,5;sieben\r\n") << "Zeile 2, Feld \"Verbrauch auf 100 km in Liter\": \"sieben\" ist " "keine Zahl.";
        // Dates in the words of a file.
        QTest::newRow("a totals row without date") << QByteArray(header + "03.01.2023;600;45,5;7,58\r\n;1112,5;85,75;\r\n") << "Zeile 3, Feld \"Datum\": \"\" wird nicht angenommen: kein Datum (das Feld ist leer).";
        QTest::newRow("letter O in the year") << QByteArray(header + "01.03.2O23;600;45,5;\r\n") << "Zeile 2, Feld \"Datum\": \"01.03.2O23\" wird nicht angenommen: kein Datum; erwartet wird TT.MM.JJJJ.";
        QTest::newRow("day not in the month") << QByteArray(header + "29.02.2023;600;45,5;\r\n") << "Zeile 2, Feld \"Datum\": \"29.02.2023\" wird nicht angenommen: diesen Tag gibt es nicht.";
        QTest::newRow("two-digit year, no such day") << QByteArray(header + "29.02.21;600;45,5;\r\n") << "\"29.02.21\" wird nicht angenommen: diesen Tag gibt es nicht (zweistelliges Jahr, gelesen als 2021).";
        QTest::newRow("tomorrow") << (header + QDate::currentDate().addDays(1).toString(u"dd.MM.yyyy").toLatin1() + ";600;45,5;\r\n") << "liegt in der Zukunft.";
        QTest::newRow("before 1900") << QByteArray(header + "31.12.1899;600;45,5;\r\n") << "\"31.12.1899\" wird nicht angenommen: liegt vor 1900.";
        QTest::newRow("a time of day") << QByteArray(commaHeader + "\"01.03.2023 14:30:00\",600,45.5,\n") << "\"01.03.2023 14:30:00\" wird nicht angenommen: Datum mit Uhrzeit – mit mdb-export -T '%d.%m.%Y' exportieren";
        // Numbers that mean two things under the file's conventions.
        QTest::newRow("mdb-export of text fields: a dot between thousands") << QByteArray("@mdb-export/text-felder.csv") << "Zeile 3, Feld \"Gefahrene Kilometer\": \"1.234\" ist nicht eindeutig: mit Dezimalpunkt 1,234, mit Tausenderpunkt 1234. Die Datei schreibt Zahlen auch deutsch (Zeile 2, Feld \"Getankte Liter\": \"45,5\").";
        // Fill-ups no driver makes.
        QTest::newRow("negative kilometres") << QByteArray(header + "03.01.2023;-512,3;45,5;\r\n") << "Feld \"Gefahrene Kilometer\": \"-512,3\" wird nicht angenommen: unplausibel: Kilometer müssen über 0 liegen. Mit --unplausible-zulassen";
        QTest::newRow("no litres") << QByteArray(header + "03.01.2023;512,3;0;\r\n") << "Feld \"Getankte Liter\": \"0\" wird nicht angenommen: unplausibel: Liter müssen über 0 liegen.";
        QTest::newRow("negative consumption") << QByteArray(header + "03.01.2023;600;45;-7\r\n") << "Feld \"Verbrauch auf 100 km in Liter\": \"-7\" wird nicht angenommen: unplausibel: aus 45 Litern auf 600 km ergeben sich 7,5 Liter pro 100 km, nicht -7.";
        QTest::newRow("38.400 litres") << QByteArray(header + "03.01.2023;512;38.400;\r\n") << "Feld \"Getankte Liter\": \"38.400\" wird nicht angenommen: unplausibel: mehr als 300 Liter in einer Tankung.";
        QTest::newRow("1e308 kilometres") << QByteArray(commaHeader + "03.01.2023,1e308,45.5,\n") << "Feld \"Gefahrene Kilometer\": \"1e308\" wird nicht angenommen: unplausibel: mehr als 3000 km mit einer Tankung.";
        QTest::newRow("consumption that does not match") << QByteArray(header + "03.01.2023;600;45;12,5\r\n") << "\"12,5\" wird nicht angenommen: unplausibel: aus 45 Litern auf 600 km ergeben sich 7,5 Liter pro 100 km, nicht 12,5.";
        QTest::newRow("consumption with four decimals") << QByteArray(header + "03.01.2023;600;45,5;7,5833\r\n") << "nicht 7,5833.";
        QTest::newRow("70 litres on 100 km") << QByteArray(header + "03.01.2023;100;70;\r\n") << "unplausibel: 70 Liter auf 100 km sind 70 Liter pro 100 km; erwartet werden 1 bis 60.";
        QTest::newRow("lines counted across blank lines and CR LF") << QByteArray(header + "\r\n03.01.2023;600;45,5;\r\n\r\n04.01.2023;600;45,5;x\r\n") << "Zeile 5, Feld \"Verbrauch auf 100 km in Liter\": \"x\" ist keine Zahl.";
        QTest::newRow("a record over two lines named by its first") << QByteArray(header + "03.01.2023;600;45,5;\"7,\n58\"\r\n") << "Zeile 2, Feld \"Verbrauch auf 100 km in Liter\": \"7,\n58\"";
        QTest::newRow("too few fields") << QByteArray(header + "03.01.2023;600;45,5\r\n") << "Zeile 2 hat 3 Felder, die Kopfzeile aber 4.";
        QTest::newRow("too many fields") << QByteArray(header + "03.01.2023;600;45,5;7;8\r\n") << "Zeile 2 hat 5 Felder, die Kopfzeile aber 4.";
        QTest::newRow("header lacks a field") << QByteArray("Datum;Gefahrene Kilometer;Verbrauch auf 100 km in Liter\r\n") << "Zeile 1: in der Kopfzeile fehlt das Feld \"Getankte Liter\".";
        QTest::newRow("header names a field twice") << QByteArray("Datum;Datum;Gefahrene Kilometer;Getankte Liter;Verbrauch auf 100 km in Liter\r\n") << "Zeile 1: die Kopfzeile nennt das Feld \"Datum\" zweimal.";
        QTest::newRow("a field in other case twice") << QByteArray(header.chopped(2) + ";DATUM\r\n") << "Zeile 1: die Kopfzeile nennt das Feld \"Datum\" zweimal.";
        QTest::newRow("Windows-1252 text in a refused field") << QByteArray(header + "03.01.2023;600;ca. 40 \x96 gesch\xE4tzt;\r\n") << "Zeile 2, Feld \"Getankte Liter\": \"ca. 40 – geschätzt\" ist keine Zahl.";
        QTest::newRow("UTF-8 text in a refused field") << QByteArray(header + "03.01.2023;600;gesch\xC3\xA4tzt;\r\n") << "Zeile 2, Feld \"Getankte Liter\": \"geschätzt\" ist keine Zahl.";
        QTest::newRow("quote never closed") << QByteArray(header + "\"03.01.2023;600;45,5;\r\n") << "Zeile 2: ein Anführungszeichen wird bis zum Ende der Datei nicht " "geschlossen.";
        QTest::newRow("text after a closing quote") << QByteArray(header + "\"03.01\"x.2023;600;45,5;\r\n") << "Zeile 2: die Anführungszeichen stimmen nicht.";
        QTest::newRow("empty file") << QByteArray() << "ist leer.";
        QTest::newRow("byte-order mark and blank lines only") << QByteArray("\xEF\xBB\xBF\r\n\r\n") << "ist leer.";
        QTest::newRow("binary file") << QByteArray("SQLite format 3\0\x10\x00\x01\x01", 20) << "ist keine Textdatei";
        // clang-format on
    }

    void refusedRows()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);

        TestLog log;
        log.record("Auto", {earlier});
        const QString file = log.write(QStringLiteral("in.csv"), fileBytes(bytes));
        for (const QString &mode : {QStringLiteral("--probelauf"), QStringLiteral("--doppelte-zulassen")}) {
            const auto result =
                DataToolProcess::run({"import", file, "--fahrzeug", "Auto", "--log", log.path(), mode});
            QCOMPARE(result.exitCode, 1);
            QVERIFY2(result.err.contains(message), qPrintable(result.err));
            QCOMPARE(result.out, QString());
            QCOMPARE(log.rows("Auto"), Rows{earlier});
        }
    }

    void duplicates_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<Rows>("stored");
        QTest::addColumn<QString>("message");

        const QStringList same{"02.01.2023", "550", "41", "7,45"};
        const QStringList recordedWithOtherConsumption{"03.01.2023", "600", "45,5", "9"};
        const QStringList sameButConsumption{"03.01.2023", "600", "45,5", "7,58"};
        const QStringList fresh{"04.01.2023", "300", "21", "7"};
        // The log holds one of each; the file repeats the first twice.
        // clang-format off
        QTest::newRow("left out: as often as the log holds them") << "" << Rows{same, recordedWithOtherConsumption, fresh, same} << "Gespeichert in \"Auto\": 2 Einträge vom 02.01.2023 bis 04.01.2023, zusammen 850 km und 62 " "Liter.\n2 Zeilen stehen schon so im Log (Datum, Kilometer und Liter gleich) und wurden nicht noch einmal " "gespeichert; mit --doppelte-zulassen werden sie es.\n";
        QTest::newRow("dry run: nothing stored") << "--probelauf" << Rows{same, recordedWithOtherConsumption} << "Probelauf, nichts gespeichert. Gespeichert würden in \"Auto\": 2 Einträge vom 02.01.2023 bis 04.01.2023, zusammen 850 km und 62 Liter.\n2 Zeilen stehen schon so im Log (Datum, Kilometer und Liter gleich) und würden nicht noch einmal gespeichert; mit --doppelte-zulassen würden sie es.\n";
        QTest::newRow("allowed") << "--doppelte-zulassen" << Rows{same, recordedWithOtherConsumption, same, sameButConsumption, fresh, same} << "Gespeichert in \"Auto\": 4 Einträge vom 02.01.2023 bis 04.01.2023, zusammen 2000 " "km und 148,5 Liter.\n";
        // clang-format on
    }

    void duplicates()
    {
        QFETCH(QString, option);
        QFETCH(Rows, stored);
        QFETCH(QString, message);

        TestLog log;
        log.record("Auto", {{"02.01.2023", "550", "41", "7,45"}, {"03.01.2023", "600", "45,5", "9"}});
        const QString file = log.write(QStringLiteral("in.csv"),
                                       header + "02.01.2023;550;41;7,45\r\n03.01.2023;600;45,5;7,58\r\n"
                                                "04.01.2023;300;21;7\r\n02.01.2023;550;41;7,45\r\n");
        QStringList arguments{"import", file, "--fahrzeug", "Auto", "--log", log.path()};
        if (!option.isEmpty())
            arguments << option;
        const auto result = DataToolProcess::run(arguments);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, message);
        QCOMPARE(log.rows("Auto"), stored);
    }

    void refusedCommands_data()
    {
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");

        const QString missing = QStringLiteral("wurde nicht gefunden");
        const QString damaged = QStringLiteral("keine gültige Datenbank oder sie ist beschädigt");
        // clang-format off
        QTest::newRow("export, missing log") << "remove log" << QStringList{"export"} << 1 << missing;
        QTest::newRow("import, missing log") << "remove log" << QStringList{"import", "{csv}", "--fahrzeug", "Auto"} << 1 << missing;
        QTest::newRow("sichern, missing log") << "remove log" << QStringList{"sichern"} << 1 << missing;
        QTest::newRow("pruefen, damaged log") << "damage log" << QStringList{"pruefen"} << 1 << damaged;
        QTest::newRow("import, log locked by another program") << "lock log" << QStringList{"import", "{csv}", "--fahrzeug", "Auto"} << 1 << "gesperrt";
        QTest::newRow("import, damaged log") << "damage log" << QStringList{"import", "{csv}", "--fahrzeug", "Auto"} << 1 << damaged;
        QTest::newRow("bericht, damaged log") << "damage log" << QStringList{"bericht", "--ziel", "{dir}/b.pdf"} << 1 << damaged;
        QTest::newRow("bericht, summary beyond the integers: German") << "overflowing view" << QStringList{"bericht", "--ziel", "{dir}/b.pdf"} << 1 << "Die Datenbank meldet einen Fehler (Code 1).";
        QTest::newRow("bericht, summary beyond the integers: the engine's words") << "overflowing view" << QStringList{"bericht", "--ziel", "{dir}/b.pdf"} << 1 << "the database engine reports: 1 integer overflow";
        QTest::newRow("export, target exists") << "" << QStringList{"export", "--ziel", "{csv}"} << 1 << "gibt es schon; sie wird nicht überschrieben.";
        QTest::newRow("sichern, target exists") << "" << QStringList{"sichern", "{csv}"} << 1 << "gibt es schon; sie wird nicht überschrieben.";
        QTest::newRow("bericht, target exists") << "" << QStringList{"bericht", "--ziel", "{csv}"} << 1 << "gibt es schon; sie wird nicht überschrieben.";
        QTest::newRow("import, file missing") << "" << QStringList{"import", "{dir}/fehlt.csv", "--fahrzeug", "Auto"} << 1 << "fehlt.csv\" gibt es nicht.";
        QTest::newRow("import without vehicle") << "" << QStringList{"import", "{csv}"} << 2 << "Beim Einlesen muss --fahrzeug Auto oder --fahrzeug Motorrad angegeben " "werden.";
        QTest::newRow("unknown vehicle") << "" << QStringList{"export", "--fahrzeug", "Fahrrad"} << 2 << "Das Fahrzeug \"Fahrrad\" gibt es nicht";
        QTest::newRow("option of another command") << "" << QStringList{"export", "--probelauf"} << 2 << "Die Option --probelauf gibt es für \"export\" nicht.";
        QTest::newRow("other separator") << "" << QStringList{"export", "--trennzeichen", "\t"} << 2 << "Als Trennzeichen gibt es nur ';' und ','.";
        QTest::newRow("no command") << "" << QStringList{} << 2 << "Es fehlt der Befehl";
        // clang-format on
    }

    void refusedCommands()
    {
        QFETCH(QString, prepare);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        TestLog log;
        const QByteArray rows = header + "03.01.2023;600;45,5;7,58\r\n";
        const QString csv = log.write(QStringLiteral("da.csv"), rows);
        if (prepare == QLatin1String("remove log"))
            QVERIFY(QFile::remove(log.path()));
        if (prepare == QLatin1String("damage log"))
            TestLog::writeFile(log.path(), QByteArray(4096, 'x'));
        if (prepare == QLatin1String("overflowing view")) {
            TestLog::query(log.path(), QStringLiteral("DROP VIEW Autogesamt"));
            TestLog::query(log.path(),
                           QStringLiteral("CREATE VIEW Autogesamt AS SELECT sum(v), 1 FROM (SELECT "
                                          "9223372036854775807 AS v UNION ALL SELECT 1)"));
        }
        const QByteArray before = TestLog::bytes(log.path());
        // Another program in the middle of a write of its own. (Taken after the bytes are read:
        // closing any handle on the file in this process would let go of the engine's lock.)
        std::optional<logstore::Connection> other;
        if (prepare == QLatin1String("lock log")) {
            other.emplace(log.path());
            QVERIFY(QSqlQuery(other->database()).exec(QStringLiteral("BEGIN IMMEDIATE")));
        }
        for (QString &argument : arguments)
            argument.replace(QLatin1String("{csv}"), csv).replace(QLatin1String("{dir}"), log.dir());

        const auto result = DataToolProcess::run(arguments + QStringList{"--log", log.path()});
        other.reset();
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(QFileInfo::exists(log.path()), prepare != QLatin1String("remove log"));
        QCOMPARE(TestLog::bytes(log.path()), before);
        QCOMPARE(TestLog::bytes(csv), rows);
        QCOMPARE(QDir(log.dir()).entryList(QDir::Files | QDir::Hidden).size(),
                 prepare == "remove log" ? 1 : 2);
    }
};

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"

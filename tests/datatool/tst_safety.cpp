// Keeping the log safe through the built tankverzehr-daten: "sichern" makes a checked copy, also
// while another program writes to the log, and "pruefen" names every problem of a log.
#include "DataToolProcess.h"

#include "Connection.h"
#include "EngineWords.h"
#include "TestLog.h"

#include <QDate>
#include <QDir>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using Rows = QList<QStringList>;
const Rows twoEntries{{"02.01.2023", "550", "41", "7,45"}, {"03.01.2023", "600", "45,5", "7,58"}};

} // namespace

Q_DECLARE_METATYPE(DataToolProcess::Output)

class SafetyTest : public QObject {
    Q_OBJECT
private slots:
    void backups()
    {
        TestLog log;
        log.record("Auto", twoEntries);
        const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        const QString folder = log.filePath(QStringLiteral("Sicherungen"));
        QVERIFY(QDir().mkpath(folder));
        // Beside the log, again beside it, into a folder, and under a name of the user's.
        const QStringList copies{log.filePath(QStringLiteral("Verbrauch-%1.mdb").arg(day)),
                                 log.filePath(QStringLiteral("Verbrauch-%1-2.mdb").arg(day)),
                                 QDir(folder).filePath(QStringLiteral("Verbrauch-%1.mdb").arg(day)),
                                 log.filePath(QStringLiteral("genannt.mdb"))};
        const QList<QStringList> calls{{}, {}, {folder}, {copies.at(3)}};
        // The program is between two statements of a write it has not committed.
        const logstore::Connection other(log.path());
        QSqlQuery write(other.database());
        QVERIFY(write.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                write.exec(QStringLiteral("INSERT INTO \"Auto\" VALUES ('04.01.2023', 1, 1, 100)")));
        for (qsizetype i = 0; i < calls.size(); ++i) {
            const auto result =
                DataToolProcess::run(QStringList{"sichern", "--log", log.path()} + calls.at(i));
            QCOMPARE(result.exitCode, 0);
            QCOMPARE(result.out,
                     QStringLiteral("Gesichert nach \"%1\" und geprüft: Auto 2 Einträge, Motorrad 0 "
                                    "Einträge.\n")
                         .arg(copies.at(i)));
        }
        QVERIFY(write.exec(QStringLiteral("COMMIT")));
        QCOMPARE(log.count("Auto"), 3);
        // The copy is a log the program can use, with what was committed when it was made.
        QCOMPARE(TestLog::query(copies.at(0), QStringLiteral("SELECT * FROM \"Autogesamt\"")),
                 (QList<QVariantList>{{1150.0, 86.5}}));
        QCOMPARE(DataToolProcess::run({"pruefen", "--log", copies.at(0)}).exitCode, 0);
    }

    void check_data()
    {
        QTest::addColumn<QStringList>("damage");
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // a part of standard error; empty: nothing there

        // clang-format off
        QTest::newRow("sound log") << QStringList{} << false << 0 << "Keine Probleme gefunden: die Datei ist unbeschädigt, Tabellen, Felder und Abfragen " "sind vollständig, alle Werte entsprechen den Regeln (Auto 2 Einträge, Motorrad 0 " "Einträge).\n" << "";
        QTest::newRow("values against the rules") << QStringList{"INSERT INTO \"Auto\" VALUES ('31.02.2020', 100, 7, 7)", "INSERT INTO \"Auto\" VALUES ('2020-01-05', 0, NULL, 7)"} << false << 1 << "Auto, Eintrag 3, Feld \"Datum\", Wert \"31.02.2020\": Falsches Datum angegeben (Tag gibt es in " "diesem " "Monat nicht) !!\nAuto, Eintrag 4, Feld \"Datum\", Wert \"2020-01-05\": Falsches Datum angegeben (Trennzeichen " "müssen " "Punkte sein) !!\nAuto, Eintrag 4, Feld \"Gefahrene Kilometer\", Wert \"0\": Die Kilometerangabe darf nicht 0 " "sein.\nAuto, Eintrag 4, Feld \"Getankte Liter\", Wert \"\": Das Feld ist leer; erwartet wird eine " "Zahl.\n4 Probleme gefunden.\n" << "";
        QTest::newRow("text in a number field") << QStringList{"DROP TABLE \"Auto\"", "CREATE TABLE \"Auto\" (\"Datum\" TEXT, \"Gefahrene Kilometer\" REAL, \"Getankte Liter\" REAL, \"Verbrauch auf 100 km in Liter\" REAL)", "INSERT INTO \"Auto\" VALUES ('01.01.2024', 100, 'viel', 7)"} << false << 1 << "Auto, Eintrag 1, Feld \"Getankte Liter\", Wert \"viel\": Das ist keine Zahl.\n1 Problem gefunden.\n" << "";
        QTest::newRow("view missing") << QStringList{"DROP VIEW \"Motorradgesamt\""} << false << 1 << "Die Abfrage \"Motorradgesamt\" fehlt.\n1 Problem gefunden.\n" << "";
        QTest::newRow("field missing") << QStringList{"DROP VIEW \"Motorradgesamt\"", "DROP TABLE \"Motorrad\"", "CREATE TABLE \"Motorrad\" (\"Datum\" TEXT, \"Gefahrene Kilometer\" " "REAL, \"Verbrauch auf 100 km in Liter\" REAL)"} << false << 1 << "Tabelle \"Motorrad\": das Feld \"Getankte Liter\" fehlt.\nDie Abfrage " "\"Motorradgesamt\" fehlt.\n2 Probleme gefunden.\n" << "";
        // The page of the table "Auto" overwritten: the engine's own check names the damage.
        QTest::newRow("damaged page") << QStringList{"overwrite page 2"} << false << 1 << "Die Datei ist beschädigt: die Datenbank meldet " << "";
        QTest::newRow("damaged page, the engine's words asked for") << QStringList{"overwrite page 2"} << true << 1 << "Die Datei ist beschädigt: die Datenbank meldet " << "";
        // Fill-ups that the calculator lets through: warnings, and the file is sound.
        QTest::newRow("implausible values") << QStringList{"INSERT INTO \"Auto\" VALUES ('03.01.2023', -512.3, 45, -8.78)", "INSERT INTO \"Auto\" VALUES ('04.01.2023', 600, 45, 12.5)", "INSERT INTO \"Auto\" VALUES ('05.01.2023', 1e308, 45, 0)"} << false << 0 << "Warnung: Auto, Eintrag 3, Feld \"Gefahrene Kilometer\", Wert \"-512,3\": unplausibel, Kilometer müssen über 0 liegen.\nWarnung: Auto, Eintrag 4, Feld \"Verbrauch auf 100 km in Liter\", Wert \"12,5\": unplausibel, aus 45 Litern auf 600 km ergeben sich 7,5 Liter pro 100 km, nicht 12,5.\nWarnung: Auto, Eintrag 5, Feld \"Gefahrene Kilometer\", Wert \"1E+308\": unplausibel, mehr als 3000 km mit einer Tankung.\nKeine Probleme gefunden" << "";
        QTest::newRow("a problem beside a warning") << QStringList{"INSERT INTO \"Auto\" VALUES ('31.02.2020', 100, 7, 7)", "INSERT INTO \"Auto\" VALUES ('04.01.2023', 600, 0, 0)"} << false << 1 << "Auto, Eintrag 3, Feld \"Datum\", Wert \"31.02.2020\": Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!\nWarnung: Auto, Eintrag 4, Feld \"Getankte Liter\", Wert \"0\": unplausibel, Liter müssen über 0 liegen.\n1 Problem gefunden, dazu 1 Warnung.\n" << "";
        // A log the engine cannot read by row numbers: its words come only with --ausfuehrlich.
        const QStringList withoutRowNumbers{"DROP TABLE \"Auto\"", "CREATE TABLE \"Auto\" (\"Datum\" TEXT PRIMARY KEY, \"Gefahrene Kilometer\" REAL, \"Getankte Liter\" REAL, \"Verbrauch auf 100 km in Liter\" REAL) WITHOUT ROWID", "INSERT INTO \"Auto\" VALUES ('01.01.2024', 100, 7, 7)"};
        const QString unreadable = QStringLiteral("Die Tabelle \"Auto\" lässt sich nicht ganz lesen: Die Tabelle \"Auto\" kann nicht gelesen werden.\n");
        QTest::newRow("log without row numbers") << withoutRowNumbers << false << 1 << unreadable + "1 Problem gefunden.\n" << "";
        QTest::newRow("log without row numbers, the engine's words asked for") << withoutRowNumbers << true << 1 << unreadable << "the database engine reports: 1 no such column: rowid";
        // clang-format on
    }

    void check()
    {
        QFETCH(QStringList, damage);
        QFETCH(bool, verbose);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);

        TestLog log;
        log.record("Auto", twoEntries);
        for (const QString &statement : damage) {
            if (statement == QLatin1String("overwrite page 2")) {
                QFile file(log.path());
                QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096));
                file.write(QByteArray(64, '\xFF'));
            } else {
                TestLog::query(log.path(), statement);
            }
        }
        QStringList arguments{"pruefen", "--log", log.path()};
        if (verbose)
            arguments << "--ausfuehrlich";
        const auto result = DataToolProcess::run(arguments);
        QVERIFY2(result.out.startsWith(out), qPrintable(result.out));
        QVERIFY2(err.isEmpty() ? result.err.isEmpty() : result.err.contains(err), qPrintable(result.err));
        QCOMPARE(result.exitCode, exitCode);

        // The closing count counts the lines above it; the engine's words come only when asked for.
        QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList details = lines.filter(QRegularExpression(QStringLiteral("^  ")));
        QCOMPARE(details.isEmpty(), !verbose);
        for (const QString &detail : details)
            lines.removeOne(detail);
        QCOMPARE(hasEngineWords(lines.join(QLatin1Char('\n'))), false);
        const qsizetype warnings = lines.filter(QRegularExpression(QStringLiteral("^Warnung: "))).size();
        const qsizetype problems = lines.size() - warnings - 1 - (exitCode == 0 && warnings > 0 ? 1 : 0);
        const QString count = exitCode == 0
                                  ? (warnings == 0 ? QString() : QStringLiteral("\n%1 Warnung").arg(warnings))
                                  : QStringLiteral("%1 Problem").arg(problems);
        QVERIFY2(result.out.contains(count), qPrintable(count));
        QCOMPARE(exitCode == 0, problems == 0);
    }

    void standardOutputRefused_data()
    {
        QTest::addColumn<QStringList>("arguments"); // the log follows
        QTest::addColumn<DataToolProcess::Output>("output");
        QTest::addColumn<QString>("reason");

        using Output = DataToolProcess::Output;
        const QString full = QStringLiteral("Der Datenträger ist voll.");
        // clang-format off
        QTest::newRow("export") << QStringList{"export"} << Output::FullDevice << full;
        QTest::newRow("export, reader gone") << QStringList{"export"} << Output::ClosedPipe << "Der Empfänger der Ausgabe hat die Verbindung geschlossen.";
        QTest::newRow("check") << QStringList{"pruefen"} << Output::FullDevice << full;
        QTest::newRow("help") << QStringList{"hilfe"} << Output::FullDevice << full;
        QTest::newRow("import summary") << QStringList{"import", "neu.csv", "--fahrzeug", "Auto"} << Output::FullDevice << full;
        QTest::newRow("backup message") << QStringList{"sichern"} << Output::FullDevice << full;
        QTest::newRow("report message") << QStringList{"bericht", "--ziel", "b.pdf"} << Output::FullDevice << full;
        // clang-format on
    }

    void standardOutputRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(DataToolProcess::Output, output);
        QFETCH(QString, reason);
        TestLog log;
        log.record("Auto", twoEntries);
        log.write(QStringLiteral("neu.csv"),
                  "Datum;Gefahrene Kilometer;Getankte Liter;Verbrauch auf 100 km in Liter\r\n"
                  "05.01.2023;500;35;7\r\n");
        for (QString &argument : arguments) {
            if (argument.contains(u'.'))
                argument = log.filePath(argument);
        }
        const auto result = DataToolProcess::run(arguments + QStringList{"--log", log.path()},
                                                 QProcessEnvironment::systemEnvironment(), output);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.endsWith(
                     QStringLiteral("Die Standardausgabe lässt sich nicht schreiben. %1\n").arg(reason)),
                 qPrintable(result.err));
    }

    void leftoversOfKilledRuns()
    {
        TestLog log;
        const QDir dir(log.dir());
        // What killed backups and reports left: temporary files and a journal nobody holds ...
        const QStringList leftovers{".Verbrauch-2024-01-01.mdb.tankverzehr-a1B2c3",
                                    ".Verbrauch-2024-01-01.mdb.tankverzehr-a1B2c3-journal",
                                    ".Verbrauch-2024-01-02.mdb.tankverzehr-Zz9Yy8-journal",
                                    ".Bericht.pdf.tankverzehr-QwErTy"};
        // ... beside the temporary file of a run still at work, and files that are not the tool's.
        const QStringList kept{".Verbrauch-2024-01-03.mdb.tankverzehr-HeLd01", ".Verbrauch.mdb.a1B2c3",
                               ".notiz.tankverzehr-a1B2c3.txt", "Verbrauch.mdb.tankverzehr-a1B2c3"};
        for (const QString &name : leftovers + kept)
            TestLog::writeFile(dir.filePath(name), "SQLite format 3");
        const int held =
            ::open(QFile::encodeName(dir.filePath(kept.first())).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        const auto release = qScopeGuard([held] { ::close(held); });

        const auto result = DataToolProcess::run({"sichern", "--log", log.path()});
        QCOMPARE(result.exitCode, 0);
        for (const QString &name : leftovers)
            QVERIFY2(!dir.exists(name), qPrintable(name));
        for (const QString &name : kept)
            QVERIFY2(dir.exists(name), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(SafetyTest)
#include "tst_safety.moc"

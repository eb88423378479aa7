// Keeping the log safe through the built tankverzehr-daten: "sichern" makes a checked copy, also
// while another program writes to the log, and "pruefen" names every problem of a log.
#include "DataToolProcess.h"

#include "Connection.h"
#include "TestLog.h"

#include <QDate>
#include <QDir>
#include <QSqlQuery>
#include <QTest>

namespace {

using Rows = QList<QStringList>;
const Rows twoEntries{{"02.01.2023", "550", "41", "7,45"}, {"03.01.2023", "600", "45,5", "7,58"}};

} // namespace

class SafetyTest : public QObject {
    Q_OBJECT
private slots:
    void backupWhileAnotherProgramWrites();
    void backupNames();
    void check_data();
    void check();
};

void SafetyTest::backupWhileAnotherProgramWrites()
{
    TestLog log;
    DataToolProcess::record(log.path(), "Auto", twoEntries);
    const QString name =
        QStringLiteral("Verbrauch-%1.mdb").arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    const QString copy = QDir(log.dir()).filePath(name);
    // The program is between two statements of a write it has not committed.
    const logstore::Connection other(log.path());
    QSqlQuery write(other.database());
    QVERIFY(write.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
            write.exec(QStringLiteral("INSERT INTO \"Auto\" VALUES ('04.01.2023', 1, 1, 100)")));
    const auto result = DataToolProcess::run({"sichern", "--log", log.path()});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out,
             QStringLiteral("Gesichert nach \"%1\" und geprüft: Auto 2 Einträge, Motorrad 0 Einträge.\n")
                 .arg(copy));
    QVERIFY(write.exec(QStringLiteral("COMMIT")));
    QCOMPARE(log.count("Auto"), 3);
    // The copy is a log the program can use, with what was committed when it was made.
    TestLog::query(copy, QStringLiteral("SELECT * FROM \"Autogesamt\""));
    QCOMPARE(TestLog::query(copy, QStringLiteral("SELECT count(*) FROM \"Auto\"")).at(0).at(0).toInt(), 2);
    const auto check = DataToolProcess::run({"pruefen", "--log", copy});
    QCOMPARE(check.exitCode, 0);
}

void SafetyTest::backupNames()
{
    TestLog log;
    const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString folder = QDir(log.dir()).filePath(QStringLiteral("Sicherungen"));
    QVERIFY(QDir().mkpath(folder));
    const QStringList expected{QDir(log.dir()).filePath(QStringLiteral("Verbrauch-%1.mdb").arg(day)),
                               QDir(log.dir()).filePath(QStringLiteral("Verbrauch-%1-2.mdb").arg(day)),
                               QDir(folder).filePath(QStringLiteral("Verbrauch-%1.mdb").arg(day)),
                               QDir(log.dir()).filePath(QStringLiteral("genannt.mdb"))};
    const QList<QStringList> calls{{}, {}, {folder}, {expected.at(3)}};
    for (qsizetype i = 0; i < calls.size(); ++i) {
        const auto result = DataToolProcess::run(QStringList{"sichern", "--log", log.path()} + calls.at(i));
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.startsWith(QStringLiteral("Gesichert nach \"%1\"").arg(expected.at(i))),
                 qPrintable(result.out));
        QVERIFY(QFileInfo::exists(expected.at(i)));
    }
}

void SafetyTest::check_data()
{
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");

    // clang-format off
    QTest::newRow("sound log") << QStringList{} << 0 << "Keine Probleme gefunden: die Datei ist unbeschädigt, Tabellen, Felder und Abfragen " "sind vollständig, alle Werte entsprechen den Regeln (Auto 2 Einträge, Motorrad 0 " "Einträge).\n";
    QTest::newRow("values against the rules") << QStringList{"INSERT INTO \"Auto\" VALUES ('31.02.2020', 100, 7, 7)", "INSERT INTO \"Auto\" VALUES ('2020-01-05', 0, NULL, 7)"} << 1 << "Auto, Eintrag 3, Feld \"Datum\", Wert \"31.02.2020\": Falsches Datum angegeben (Tag gibt es in " "diesem " "Monat nicht) !!\nAuto, Eintrag 4, Feld \"Datum\", Wert \"2020-01-05\": Falsches Datum angegeben (Trennzeichen " "müssen " "Punkte sein) !!\nAuto, Eintrag 4, Feld \"Gefahrene Kilometer\", Wert \"0\": Die Kilometerangabe darf nicht 0 " "sein.\nAuto, Eintrag 4, Feld \"Getankte Liter\", Wert \"\": Das Feld ist leer; erwartet wird eine " "Zahl.\n4 Probleme gefunden.\n";
    QTest::newRow("text in a number field") << QStringList{"DROP TABLE \"Auto\"", "CREATE TABLE \"Auto\" (\"Datum\" TEXT, \"Gefahrene Kilometer\" REAL, \"Getankte Liter\" REAL, \"Verbrauch auf 100 km in Liter\" REAL)", "INSERT INTO \"Auto\" VALUES ('01.01.2024', 100, 'viel', 7)"} << 1 << "Auto, Eintrag 1, Feld \"Getankte Liter\", Wert \"viel\": Das ist keine Zahl.\n1 Problem gefunden.\n";
    QTest::newRow("view missing") << QStringList{"DROP VIEW \"Motorradgesamt\""} << 1 << "Die Abfrage \"Motorradgesamt\" fehlt.\n1 Problem gefunden.\n";
    QTest::newRow("field missing") << QStringList{"DROP VIEW \"Motorradgesamt\"", "DROP TABLE \"Motorrad\"", "CREATE TABLE \"Motorrad\" (\"Datum\" TEXT, \"Gefahrene Kilometer\" " "REAL, \"Verbrauch auf 100 km in Liter\" REAL)"} << 1 << "Tabelle \"Motorrad\": das Feld \"Getankte Liter\" fehlt.\nDie Abfrage " "\"Motorradgesamt\" fehlt.\n2 Probleme gefunden.\n";
    // The page of the table "Auto" overwritten: the engine's own check names the damage.
    QTest::newRow("damaged page") << QStringList{"overwrite page 2"} << 1 << "Die Datei ist beschädigt: ";
    // clang-format on
}

void SafetyTest::check()
{
    QFETCH(QStringList, damage);
    QFETCH(int, exitCode);
    QFETCH(QString, out);

    TestLog log;
    DataToolProcess::record(log.path(), "Auto", twoEntries);
    for (const QString &statement : damage) {
        if (statement == QLatin1String("overwrite page 2")) {
            QFile file(log.path());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096));
            file.write(QByteArray(64, '\xFF'));
        } else {
            TestLog::query(log.path(), statement);
        }
    }
    const auto result = DataToolProcess::run({"pruefen", "--log", log.path()});
    QVERIFY2(result.out.startsWith(out), qPrintable(result.out));
    QVERIFY(
        result.out.endsWith(exitCode == 0 ? QStringLiteral("Einträge).\n") : QStringLiteral(" gefunden.\n")));
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, exitCode);
}

QTEST_GUILESS_MAIN(SafetyTest)
#include "tst_safety.moc"

// The log database as the windows use it: recording entries, the failures of opening and storing,
// logs that do not fit, the engine's words kept from the user, the settings of every opening, the
// build tool, a second process writing to the same log (this test run as that process, see main),
// and the data control with its changes and views. No widgets: storage runs without them.
#include "Connection.h"
#include "DataControl.h"
#include "Database.h"
#include "EngineWords.h"
#include "LogFileMaker.h"
#include "LogNames.h"
#include "ScratchLog.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <cstdio>

using core::LogNames;
using logstore::DataControl;
using Entries = QList<QStringList>;

namespace {

const QString car = QStringLiteral("Auto");
const QString bike = QStringLiteral("Motorrad");

// An entry written as "Datum|km|litres|consumption", to keep the tables one row a line.
QStringList entry(const QString &text)
{
    return text.split(QLatin1Char('|'));
}

// One recording as the main window makes it.
void record(const QString &path, const QString &table, const QStringList &values)
{
    ScratchLog::record(path, table, {values});
}

// The message of the failure that `step` throws; empty when it throws none.
QString failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const core::Failure &failure) {
        return failure.message();
    }
    return {};
}

void open(DataControl &control, const QString &path, const QString &source)
{
    control.setDatabaseName(path);
    control.setRecordSource(source);
    control.refresh();
}

// The texts of an entry by field name, as the editor hands them over.
QMap<QString, QString> byField(const QStringList &texts)
{
    QMap<QString, QString> result;
    for (int i = 0; i < texts.size(); ++i)
        result.insert(LogNames::fields().at(i), texts.at(i));
    return result;
}

// A log of generated rows (row n: n km, n/10 litres) and a data control on it.
struct Fixture {
    explicit Fixture(int count)
    {
        log.appendMany(car, count);
        rows = log.rows(car);
        open(control, log.path(), car);
    }
    ScratchLog log;
    Entries rows;
    DataControl control;
};

} // namespace

class LogStoreTest : public QObject {
    Q_OBJECT
private slots:
    void recordingConverts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("readBack"); // for a refused entry: the field the failure names

        // clang-format off
        QTest::newRow("decimal comma") << "06.12.2024|600|45,5|7,58" << car << "06.12.2024|600|45,5|7,58";
        QTest::newRow("blanks around") << "06.12.2024| 180 |  6,3|3,5" << car << "06.12.2024|180|6,3|3,5";
        QTest::newRow("group separators") << "06.12.2024|1.234,5|1.000|7" << bike << "06.12.2024|1234,5|1000|7";
        QTest::newRow("trailing zeros") << "06.12.2024|100,00|7,10|7,1" << bike << "06.12.2024|100|7,1|7,1";
        QTest::newRow("date kept as typed") << " 1.2.24 |1|1|100" << car << " 1.2.24 |1|1|100";
        QTest::newRow("empty is NULL") << "06.12.2024|||7,5" << bike << "06.12.2024|||7,5";
        QTest::newRow("letters in km") << "1.1.24|zwölf|1|1" << car << "Gefahrene Kilometer";
        QTest::newRow("two commas in litres") << "1.1.24|1|1,2,3|1" << bike << "Getankte Liter";
        QTest::newRow("blanks only") << "1.1.24|   |1|1" << car << "Gefahrene Kilometer";
        QTest::newRow("consumption text") << "1.1.24|1|1|Unendlich" << car << "Verbrauch auf 100 km in Liter";
        QTest::newRow("sql in litres") << "1.1.24|1|1); DROP TABLE Auto; --|1" << car << "Getankte Liter";
        // clang-format on
    }

    void recordingConverts()
    {
        QFETCH(QString, typed);
        QFETCH(QString, table);
        QFETCH(QString, readBack);
        ScratchLog log;
        const QString failure = failureOf([&] { record(log.path(), table, entry(typed)); });
        const bool refused = !readBack.contains(QLatin1Char('|'));
        QVERIFY2(refused ? failure.contains(readBack) : failure.isEmpty(), qPrintable(failure));
        QCOMPARE(log.rows(table), refused ? Entries{} : Entries{entry(readBack)});
        QCOMPARE(log.count(table == car ? bike : car), 0);
        // An empty text is stored as NULL, so the totals leave it out.
        const QString nulls =
            QStringLiteral("SELECT sum((\"Gefahrene Kilometer\" IS NULL) + (\"Getankte Liter\" IS NULL)) "
                           "FROM %1");
        QCOMPARE(ScratchLog::query(log.path(), nulls.arg(table)).at(0).at(0).toInt(),
                 refused ? 0 : entry(readBack).count(""));
    }

    void failuresStoreNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("expected");

        // clang-format off
        QTest::newRow("file missing") << "missing" << car << "nicht gefunden";
        QTest::newRow("a folder in its place") << "folder" << car << "nicht gefunden";
        QTest::newRow("table missing") << "noMotorrad" << bike << "gibt es in der Datenbank";
        QTest::newRow("name not ours") << "log" << "auto" << "gibt es in der Datenbank";
        QTest::newRow("view is no log") << "log" << "Autogesamt" << "gibt es in der Datenbank";
        QTest::newRow("locked past the timeout") << "locked" << car << "gesperrt";
        QTest::newRow("read-only file") << "readOnly" << car << "schreibgeschützt";
        // clang-format on
    }

    void failuresStoreNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, table);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(LogNames::fileName());
        if (kind == u"folder")
            QVERIFY(QDir(dir.path()).mkdir(LogNames::fileName()));
        else if (kind != u"missing")
            LogFileMaker::create(path, ScratchLog::schema());
        if (kind == u"noMotorrad")
            ScratchLog::query(path, QStringLiteral("DROP TABLE Motorrad"));
        // Permissions do not bind root, who may write anyway.
        QFile file(path);
        if (kind == u"readOnly" && file.setPermissions(QFile::ReadOwner) && file.open(QIODevice::ReadWrite))
            QSKIP("file permissions do not bind this user");
        const QByteArray before = ScratchLog::bytes(path);
        logstore::Database::setBusyTimeout(kind == u"locked" ? 200 : 5000);
        const auto restoreTimeout = qScopeGuard([] { logstore::Database::setBusyTimeout(5000); });
        const QString failure = failureOf([&] {
            if (kind == u"locked") // another opening holds the write lock meanwhile
                logstore::Connection(path).write(QStringLiteral("Sperren"), [&](QSqlDatabase &) {
                    record(path, table, entry("1.1.24|1|1|1"));
                });
            else
                record(path, table, entry("1.1.24|1|1|1"));
        });
        QVERIFY2(failure.contains(expected) && failure.contains(path), qPrintable(failure));
        QCOMPARE(ScratchLog::bytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(),
                 kind == u"missing" || kind == u"folder" ? 0 : 1);
    }

    void logsThatDoNotFit_data()
    {
        QTest::addColumn<QString>("sql"); // what another program did to a fresh log, "; " between statements
        QTest::addColumn<QString>("source");   // what the data control reads; a log is recorded into too
        QTest::addColumn<QString>("expected"); // at the end of every message; empty when the log fits
        QTest::addColumn<QString>("engine");   // the engine's text, on the standard error stream only

        const auto table = [](const QString &date, const QString &kilometres, const QString &litres,
                              const QString &options) {
            return ScratchLog::otherCarTable({date, kilometres, litres, QStringLiteral("REAL")}, options);
        };
        const QString insert = QStringLiteral("; INSERT INTO Auto VALUES ('01.01.2024', %1)");
        const QString view = QStringLiteral("DROP VIEW Autogesamt; CREATE VIEW Autogesamt AS SELECT %1");
        const QString overflow =
            QStringLiteral("sum(v), 1 FROM (SELECT 9223372036854775807 AS v UNION ALL SELECT 1)");
        const QString sums = QStringLiteral("Autogesamt");
        // clang-format off
        QTest::newRow("text field for a number") << table("TEXT", "VARCHAR(10)", "REAL", "") << car << "\"Gefahrene Kilometer\" der Tabelle \"Auto\" in der Datenbank \"%1\" ist nicht für Zahlen angelegt." << "";
        QTest::newRow("field missing") << ScratchLog::otherCarTable({"TEXT", "REAL", "REAL"}) << car << "Die Tabelle \"Auto\" in der Datenbank \"%1\" hat kein Feld \"Verbrauch auf 100 km in Liter\"." << "";
        QTest::newRow("text in a number field") << table("TEXT", "REAL", "REAL", "") + insert.arg("100, 'viel', 7") << car << "\"Getankte Liter\" der Tabelle \"Auto\" in der Datenbank \"%1\" enthält Werte, die keine Zahlen sind." << "";
        QTest::newRow("text in an ANY field") << table("TEXT", "REAL", "ANY", "STRICT") + insert.arg("100, 'viel', 7") << car << "\"Getankte Liter\" der Tabelle \"Auto\" in der Datenbank \"%1\" enthält Werte, die keine Zahlen sind." << "";
        QTest::newRow("number field for the date") << table("REAL", "REAL", "REAL", "STRICT") << car << "\"Datum\" der Tabelle \"Auto\" in der Datenbank \"%1\" ist nicht für Text angelegt." << "";
        QTest::newRow("numbers, not STRICT") << table("", "INTEGER", "NUMERIC", "") + insert.arg("100, 7, 7") << car << "" << "";
        QTest::newRow("view of one column") << view.arg("5") << sums << "liefert nicht die zwei Summen, Kilometer und Liter." << "";
        QTest::newRow("view giving a text") << view.arg("5, 'viel'") << sums << "liefert in ihrer Spalte 2 keine Zahl." << "";
        QTest::newRow("view missing") << "DROP VIEW Autogesamt" << sums << "Die Abfrage \"Autogesamt\" gibt es in der Datenbank \"%1\" nicht." << "";
        QTest::newRow("view over a missing log") << "DROP TABLE Auto" << sums << "Die Tabelle \"Auto\" gibt es in der Datenbank \"%1\" nicht." << "";
        QTest::newRow("sum beyond the integers") << view.arg(overflow) << sums << "Die Datenbank meldet einen Fehler (Code 1)." << "integer overflow";
        QTest::newRow("rule of the table") << table("TEXT NOT NULL", "REAL", "REAL", "STRICT") << car << "Ein Wert verletzt eine Regel der Tabelle." << "";
        // clang-format on
    }

    void logsThatDoNotFit()
    {
        QFETCH(QString, sql);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QFETCH(QString, engine);
        ScratchLog file;
        for (const QString &statement : sql.split(QStringLiteral("; ")))
            ScratchLog::query(file.path(), statement);
        const QByteArray before = ScratchLog::bytes(file.path());
        if (!engine.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(engine));
        DataControl control;
        QStringList messages{failureOf([&] { open(control, file.path(), source); })};
        // The empty date is stored as NULL, which a NOT NULL rule refuses.
        if (LogNames::isTable(source))
            messages << failureOf([&] { record(file.path(), source, entry("|50|4|8")); });
        messages.removeAll(QString());
        if (expected.isEmpty()) {
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'|')));
            QCOMPARE(control.currentRow(), entry("01.01.2024|100|7|7"));
            QCOMPARE(file.rows(car), (Entries{entry("01.01.2024|100|7|7"), entry("|50|4|8")}));
            return;
        }
        QVERIFY(!messages.isEmpty());
        for (const QString &message : messages)
            QVERIFY2(message.endsWith(QString(expected).replace("%1", file.path())) &&
                         !hasEngineWords(QString(message).remove(file.path())),
                     qPrintable(message));
        QCOMPARE(ScratchLog::bytes(file.path()), before);
    }

    void openingSetsDurability()
    {
        ScratchLog log;
        ScratchLog::query(log.path(),
                          QStringLiteral("PRAGMA journal_mode = WAL")); // as another program left it
        logstore::Connection opening(log.path());
        QSqlQuery query(opening.database());
        QVERIFY(query.exec(QStringLiteral("PRAGMA synchronous")) && query.next());
        QCOMPARE(query.value(0).toInt(), 3); // EXTRA: the folder is synced after the journal is gone
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("delete"));
    }

    void buildToolKeepsAnExistingFile()
    {
        ScratchLog log;
        log.record(car, {entry("1.1.24|100|7|7")});
        const QByteArray before = ScratchLog::bytes(log.path());
        const QDateTime modified = QFileInfo(log.path()).lastModified();
        const QString schema = log.write(QStringLiteral("changed.sql"), "CREATE TABLE \"Andere\" (x);");
        QCOMPARE(QProcess::execute(QStringLiteral(CREATELOG_PATH), {schema, log.path()}), 0);
        QVERIFY_THROWS_EXCEPTION(core::Failure, LogFileMaker::create(log.path(), ScratchLog::schema()));
        QCOMPARE(ScratchLog::bytes(log.path()), before);
        QCOMPARE(QFileInfo(log.path()).lastModified(), modified);
    }

    void buildToolLeavesNothingOfABrokenSchema()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Verbrauch.mdb"));
        QVERIFY_THROWS_EXCEPTION(core::Failure,
                                 LogFileMaker::create(path, QStringLiteral("CREATE TABLE \"Auto\" (;")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void anotherProcessWriting_data()
    {
        QTest::addColumn<int>("count");     // entries the other process records, -1 until killed
        QTest::addColumn<int>("killAfter"); // rows it reported stored before the kill
        QTest::newRow("both writing to the end") << 120 << 0;
        QTest::newRow("killed later") << -1 << 100;
    }

    void anotherProcessWriting()
    {
        QFETCH(int, count);
        QFETCH(int, killAfter);
        Fixture f(0); // its control reads the log in between
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {"--writer", f.log.path(), QString::number(count)});
        QVERIFY(writer.waitForStarted());
        QSet<int> acknowledged; // the writer's "ok <km>" lines: rows it reported stored
        const auto collect = [&] {
            while (writer.canReadLine()) {
                const QString line = QString::fromUtf8(writer.readLine()).trimmed();
                QVERIFY2(line.startsWith(u"ok "), qPrintable(line));
                acknowledged.insert(line.mid(3).toInt());
            }
        };
        int ours = 0; // recorded here meanwhile, from 1000000 km on
        while (killAfter > 0 ? acknowledged.size() < killAfter : writer.state() == QProcess::Running) {
            if (ours < count) {
                record(f.log.path(), car, entry(QStringLiteral("1.1.24|%1|1|1").arg(1000000 + ours++)));
                f.control.refresh(); // reading in between must block neither side
                f.control.moveLast();
                QVERIFY(!f.control.field(1).isEmpty());
            }
            writer.waitForReadyRead(100);
            collect();
        }
        writer.kill(); // SIGKILL: no chance to finish the row it is writing
        QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished(30000));
        collect();
        if (killAfter == 0) // it finished on its own
            QCOMPARE(acknowledged.size(), count);
        QCOMPARE(
            ScratchLog::query(f.log.path(), QStringLiteral("PRAGMA integrity_check")).at(0).at(0).toString(),
            "ok");
        QSet<int> stored;
        for (const QStringList &row : f.log.rows(car))
            stored.insert(row.at(1).toInt());
        QCOMPARE(stored.size(), f.log.count(car));
        QVERIFY(stored.contains(acknowledged));
        const QString mine =
            QStringLiteral("SELECT count(*) FROM Auto WHERE \"Gefahrene Kilometer\" >= 1000000");
        QCOMPARE(ScratchLog::query(f.log.path(), mine).at(0).at(0).toInt(), ours);
        // Of the writer's rows, at most the one stored but not yet reported comes on top.
        QVERIFY(stored.size() - ours <= acknowledged.size() + 1);
        record(f.log.path(), car, entry("1.1.24|1|1|1")); // still usable
        QCOMPARE(f.log.rows(car).last(), entry("1.1.24|1|1|1"));
    }

    void changesRefused()
    {
        Fixture f(3);
        // What the editor does: the boxes' texts stored into the current row, converted, and the row
        // read back as stored.
        f.control.setAbsolutePosition(1);
        f.control.edit();
        f.control.update(byField(entry("05.02.2024|1.412| 33,50 |")));
        f.rows[1] = entry("05.02.2024|1412|33,5|");
        QCOMPARE(f.control.currentRow(), f.rows[1]);
        QCOMPARE(f.log.rows(car), f.rows);
        // A field not handed over keeps its value; a text the log refuses stores nothing at all.
        f.control.edit();
        f.control.update({{LogNames::consumption(), QStringLiteral("8")}});
        f.rows[1][3] = QStringLiteral("8");
        f.control.edit();
        QVERIFY_THROWS_EXCEPTION(core::Failure, f.control.update(byField(entry("06.02.2024|1|viel|1"))));
        QCOMPARE(f.log.rows(car), f.rows);
        f.control.moveLast();
        DataControl other;
        open(other, f.log.path(), car);
        other.moveLast();
        other.deleteCurrent();
        f.rows.removeLast();
        f.control.edit(); // the current row is gone meanwhile
        QVERIFY_THROWS_EXCEPTION(core::Failure, f.control.update(byField(f.rows.last())));
        QVERIFY_THROWS_EXCEPTION(core::Failure, f.control.deleteCurrent());
        QCOMPARE(f.log.rows(car), f.rows);
        open(f.control, f.log.path(), QStringLiteral("Autogesamt"));
        QVERIFY_THROWS_EXCEPTION(core::Failure, f.control.edit());
        QVERIFY_THROWS_EXCEPTION(core::Failure, f.control.deleteCurrent());
        // A log file removed after the last refresh: the next refresh fails and nothing is made anew.
        QVERIFY(QFile::remove(f.log.path()));
        QVERIFY_THROWS_EXCEPTION(core::Failure, f.control.refresh());
        QVERIFY(!QFile::exists(f.log.path()));
        Fixture empty(0); // no current row at all
        QCOMPARE(empty.control.absolutePosition(), -1);
        QCOMPARE(empty.control.currentRow(), QStringList());
    }

    void deletingTheOnlyEntry()
    {
        Fixture f(1);
        QCOMPARE(f.control.currentRow(), f.rows.first());
        // The grid heads each column with its field's name, the first one included.
        for (int column = 0; column < 4; ++column)
            QCOMPARE(f.control.model()->headerData(column, Qt::Horizontal).toString(),
                     LogNames::fields().at(column));
        f.control.deleteCurrent();
        QCOMPARE(f.control.recordCount(), 0);
        QCOMPARE(f.control.absolutePosition(), -1);
        QCOMPARE(f.control.currentRow(), QStringList());
        QCOMPARE(f.log.count(car), 0);
    }
};

// Run as "<this test> --writer <database> <count, -1 for endless>" it is the other process: records
// entries into Auto one after another and prints "ok <km>" after each stored one.
int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--writer") == 0) {
        QCoreApplication app(argc, argv);
        const qint64 count = app.arguments().at(3).toLongLong();
        for (qint64 km = 1; km <= count || count < 0; ++km) {
            const QString failure = failureOf([&] {
                record(app.arguments().at(2), car, entry(QStringLiteral("02.02.2024|%1|1,5|7,5").arg(km)));
            });
            std::printf(failure.isEmpty() ? "ok %lld\n" : "fail %lld\n", static_cast<long long>(km));
            std::fflush(stdout);
            if (!failure.isEmpty())
                return 1;
        }
        return 0;
    }
    QCoreApplication app(argc, argv);
    LogStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logstore.moc"

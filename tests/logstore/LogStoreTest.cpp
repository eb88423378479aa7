// The log database as the windows use it: appending entries through Database and Recordset, the
// failures of opening and storing, logs that do not fit, the engine's words kept from the user,
// the settings of every opening, the build tool, a second process writing to the same log (this
// test run as that process, see main), and the data control with its boxes, grid and views.
#include <Connection.h>
#include <DataControl.h>
#include <Database.h>
#include <EngineWords.h>
#include <LogFileMaker.h>
#include <LogNames.h>
#include <TestLog.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <cstdio>

using logstore::DataControl;

namespace {

const QString car = QStringLiteral("Auto");
const QString bike = QStringLiteral("Motorrad");
const QStringList fieldNames{"Datum", "Gefahrene Kilometer", "Getankte Liter",
                             "Verbrauch auf 100 km in Liter"};

// An entry written as "Datum|km|litres|consumption", to keep the tables one row a line.
QStringList entry(const QString &text)
{
    return text.split(QLatin1Char('|'));
}

// One recording as the main window makes it; returns the row the record set shows afterwards.
QStringList record(const QString &path, const QString &table, const QStringList &values)
{
    logstore::Database db = logstore::Database::open(path);
    logstore::Recordset records = db.openRecordset(table);
    records.addNew();
    for (int i = 0; i < fieldNames.size(); ++i)
        records.setField(fieldNames.at(i), values.at(i));
    records.update();
    records.setBookmark(records.lastModified());
    return {records.field(fieldNames.at(0)), records.field(fieldNames.at(1)), records.field(fieldNames.at(2)),
            records.field(fieldNames.at(3))};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads the writer's "ok <km>" lines as they come; returns the first other line.
QString collect(QProcess &writer, QSet<int> &acknowledged)
{
    QString line;
    while (writer.canReadLine() && (line = QString::fromUtf8(writer.readLine()).trimmed()).startsWith(u"ok "))
        acknowledged.insert(line.mid(3).toInt());
    return line.startsWith(u"ok ") ? QString() : line;
}

// Changes a fresh log as another program might have: `log`, when not empty, puts a table "Auto"
// of these declared types in place of the schema's ("TEXT|REAL|REAL|-|STRICT": the four fields in
// order, "-" leaving one out, then the table options); then the statements of `sql` run, "; "
// between them.
void damage(const QString &path, const QString &log, const QString &sql)
{
    QStringList statements;
    if (!log.isEmpty()) {
        const QStringList types = log.split(u'|');
        QStringList columns;
        for (int i = 0; i < fieldNames.size(); ++i) {
            if (types.at(i) != u"-")
                columns << QStringLiteral("\"%1\" %2").arg(fieldNames.at(i), types.at(i));
        }
        statements << QStringLiteral("DROP TABLE Auto")
                   << QStringLiteral("CREATE TABLE Auto (%1) %2")
                          .arg(columns.join(QStringLiteral(", ")), types.at(4));
    }
    statements << sql.split(QStringLiteral("; "), Qt::SkipEmptyParts);
    for (const QString &statement : statements)
        TestLog::query(path, statement);
}

QStringList currentRow(const DataControl &control)
{
    return {control.field(0), control.field(1), control.field(2), control.field(3)};
}

// A log of generated rows (row n: n km, n/10 litres) and a data control on it with a box bound to
// each field; boxes[i] shows field i, bound in the editor's order so that no box is taken by place.
struct Fixture {
    explicit Fixture(int count)
    {
        log.appendMany(car, count);
        rows = log.rows(car);
        for (int i : {0, 2, 3, 1})
            control.bind(&boxes[i], fieldNames.at(i));
        open(control);
    }
    void open(DataControl &other, const QString &source = car) const { open(other, log.path(), source); }
    static void open(DataControl &control, const QString &path, const QString &source)
    {
        control.setDatabaseName(path);
        control.setRecordSource(source);
        control.refresh();
    }
    TestLog log;
    QList<QStringList> rows;
    DataControl control;
    QLineEdit boxes[4];
};

} // namespace

class LogStoreTest : public QObject {
    Q_OBJECT
private slots:
    void appendReadsBackAsNumberTexts_data();
    void appendReadsBackAsNumberTexts();
    void failuresStoreNothing_data();
    void failuresStoreNothing();
    void logsThatDoNotFit_data();
    void logsThatDoNotFit();
    void engineWordsStayOut_data();
    void engineWordsStayOut();
    void openingSetsDurability();
    void buildToolKeepsAnExistingFile();
    void anotherProcessWriting_data();
    void anotherProcessWriting();
    void everyReaderSeesTheSameRow_data();
    void everyReaderSeesTheSameRow();
    void updateStoresTheBoxes_data();
    void updateStoresTheBoxes();
    void changesRefused();
    void appendWhileControlsHoldTheFile();
};

void LogStoreTest::appendReadsBackAsNumberTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("readBack"); // for a refused entry: the field the failure names
    QTest::newRow("decimal comma") << "06.12.2024|600|45,5|7,58" << car << "06.12.2024|600|45,5|7,58";
    QTest::newRow("blanks around") << "06.12.2024| 180 |  6,3|3,5" << car << "06.12.2024|180|6,3|3,5";
    QTest::newRow("group separators") << "06.12.2024|1.234,5|1.000|7" << bike << "06.12.2024|1234,5|1000|7";
    QTest::newRow("trailing zeros") << "06.12.2024|100,00|7,10|7,1" << bike << "06.12.2024|100|7,1|7,1";
    QTest::newRow("date kept as typed") << " 1.2.24 |1|1|100" << car << " 1.2.24 |1|1|100";
    QTest::newRow("empty is NULL") << "06.12.2024|||7,5" << bike << "06.12.2024|||7,5";
    QTest::newRow("letters in km") << "1.1.24|zwölf|1|1" << car << fieldNames.at(1);
    QTest::newRow("letters in litres") << "1.1.24|1|4,5l|1" << bike << fieldNames.at(2);
    QTest::newRow("two commas") << "1.1.24|1|1,2,3|1" << car << fieldNames.at(2);
    QTest::newRow("blanks only") << "1.1.24|   |1|1" << car << fieldNames.at(1);
    QTest::newRow("consumption text") << "1.1.24|1|1|Unendlich" << car << fieldNames.at(3);
    QTest::newRow("sql in litres") << "1.1.24|1|1); DROP TABLE Auto; --|1" << car << fieldNames.at(2);
}

void LogStoreTest::appendReadsBackAsNumberTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, table);
    QFETCH(QString, readBack);
    TestLog log;
    if (!readBack.contains(QLatin1Char('|'))) {
        try {
            record(log.path(), table, entry(typed));
            QFAIL("the entry was taken");
        } catch (const toolkit::Failure &failure) {
            QVERIFY2(failure.message().contains(readBack), qPrintable(failure.message()));
        }
        QCOMPARE(log.count(car) + log.count(bike), 0);
        return;
    }
    QCOMPARE(record(log.path(), table, entry(typed)), entry(readBack));
    QCOMPARE(record(log.path(), table, entry(typed)), entry(readBack));
    QCOMPARE(log.rows(table), (QList<QStringList>{entry(readBack), entry(readBack)}));
    QCOMPARE(log.count(table == car ? bike : car), 0);
    const QString nulls =
        QStringLiteral("SELECT sum((\"Gefahrene Kilometer\" IS NULL) + (\"Getankte Liter\" IS "
                       "NULL) + (\"Verbrauch auf 100 km in Liter\" IS NULL)) FROM %1");
    QCOMPARE(TestLog::query(log.path(), nulls.arg(logstore::LogNames::quoted(table))).at(0).at(0).toInt(),
             2 * entry(readBack).mid(1).count(QString()));
}

void LogStoreTest::failuresStoreNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file missing") << "missing" << car << "nicht gefunden";
    QTest::newRow("text file") << "text" << car << "keine gültige Datenbank";
    QTest::newRow("table missing") << "noMotorrad" << bike << "gibt es in der Datenbank";
    QTest::newRow("name not ours") << "log" << QStringLiteral("auto") << "gibt es in der Datenbank";
    QTest::newRow("view is no log") << "log" << QStringLiteral("Autogesamt") << "gibt es in der Datenbank";
    QTest::newRow("locked past the timeout") << "locked" << car << "gesperrt";
    QTest::newRow("read-only file") << "readOnly" << car << "schreibgeschützt";
}

void LogStoreTest::failuresStoreNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, table);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Verbrauch.mdb"));
    QFile file(path);
    if (kind == u"text")
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write("Datum;Kilometer;Liter\r\n01.01.2024;100;7\r\n"));
    else if (kind != u"missing")
        LogFileMaker::create(path, TestLog::schema());
    file.close();
    if (kind == u"noMotorrad")
        TestLog::query(path, QStringLiteral("DROP TABLE Motorrad"));
    // Permissions do not bind root, who may write anyway.
    if (kind == u"readOnly" && file.setPermissions(QFile::ReadOwner) && file.open(QIODevice::ReadWrite))
        QSKIP("file permissions do not bind this user");
    const QByteArray before = contents(path);
    logstore::Database::setBusyTimeout(kind == u"locked" ? 200 : 5000);
    const auto restoreTimeout = qScopeGuard([] { logstore::Database::setBusyTimeout(5000); });
    try {
        if (kind == u"locked") // another opening holds the write lock meanwhile
            logstore::Connection(path).write(QStringLiteral("Sperren"), [&](QSqlDatabase &) {
                record(path, table, entry("1.1.24|1|1|1"));
            });
        else
            record(path, table, entry("1.1.24|1|1|1"));
        QFAIL("the recording went through");
    } catch (const toolkit::Failure &failure) {
        QVERIFY2(failure.message().contains(expected) && failure.message().contains(path),
                 qPrintable(failure.message()));
    }
    QCOMPARE(contents(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), kind == u"missing" ? 0 : 1);
}

void LogStoreTest::logsThatDoNotFit_data()
{
    QTest::addColumn<QString>("log");      // see damage()
    QTest::addColumn<QString>("sql");      // see damage()
    QTest::addColumn<QString>("source");   // what the data control reads; a log is recorded into too
    QTest::addColumn<QString>("expected"); // in every message; empty when the log fits
    const QString view = QStringLiteral("DROP VIEW Autogesamt; CREATE VIEW Autogesamt AS SELECT %1");
    const QString insert = QStringLiteral("INSERT INTO Auto VALUES ('01.01.2024', %1)");
    const QString sums = QStringLiteral("Autogesamt");
    QTest::newRow("field missing") << "TEXT|REAL|REAL|-|STRICT"
                                   << "" << car << "kein Feld \"Verbrauch auf 100 km in Liter\"";
    QTest::newRow("text field for a number")
        << "|VARCHAR(10)|||"
        << "" << car << "Feld \"Gefahrene Kilometer\" der Tabelle \"Auto\"";
    QTest::newRow("text in an ANY field") << "TEXT|REAL|ANY|REAL|STRICT" << insert.arg("100, 'viel', 7")
                                          << car << "Feld \"Getankte Liter\" der Tabelle \"Auto\"";
    QTest::newRow("number field for the date") << "REAL|REAL|REAL|REAL|STRICT"
                                               << "" << car << "Feld \"Datum\" der Tabelle \"Auto\"";
    QTest::newRow("numbers, not STRICT") << "|INTEGER|NUMERIC||" << insert.arg("100, 7, 7") << car << "";
    QTest::newRow("view of one column") << "" << view.arg("5") << sums << "liefert nicht die zwei Summen";
    QTest::newRow("view giving a text")
        << "" << view.arg("5, 'viel'") << sums << "liefert in ihrer Spalte 2 keine Zahl";
    QTest::newRow("view over a missing log")
        << ""
        << "DROP TABLE Auto" << sums << "Die Tabelle \"Auto\" gibt es in der Datenbank";
}

void LogStoreTest::logsThatDoNotFit()
{
    QFETCH(QString, log);
    QFETCH(QString, sql);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    TestLog file;
    damage(file.path(), log, sql);
    const QByteArray before = contents(file.path());
    DataControl control;
    QStringList messages;
    try {
        Fixture::open(control, file.path(), source);
    } catch (const toolkit::Failure &failure) {
        messages << failure.message();
    }
    if (logstore::LogNames::isTable(source)) {
        try {
            record(file.path(), source, entry("02.01.2024|50|4|8"));
        } catch (const toolkit::Failure &failure) {
            messages << failure.message();
        }
    }
    if (expected.isEmpty()) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'|')));
        QCOMPARE(currentRow(control), entry("01.01.2024|100|7|7"));
        QCOMPARE(file.rows(car),
                 (QList<QStringList>{entry("01.01.2024|100|7|7"), entry("02.01.2024|50|4|8")}));
        return;
    }
    QCOMPARE(messages.size(), logstore::LogNames::isTable(source) ? 2 : 1);
    for (const QString &message : messages)
        QVERIFY2(message.contains(expected) && !hasEngineWords(QString(message).remove(file.path())),
                 qPrintable(message));
    QCOMPARE(contents(file.path()), before);
}

void LogStoreTest::engineWordsStayOut_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("source"); // a view is read, a log is recorded into
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("engineText"); // on the standard error stream; empty for none
    const QString overflow =
        QStringLiteral("DROP VIEW Autogesamt; CREATE VIEW Autogesamt AS SELECT sum(v), 1 FROM "
                       "(SELECT 9223372036854775807 AS v UNION ALL SELECT 1)");
    QTest::newRow("sum beyond the integers") << "" << overflow << "Autogesamt"
                                             << "Die Datenbank meldet einen Fehler (Code 1)."
                                             << "integer overflow";
    QTest::newRow("rule of the table") << "TEXT NOT NULL|REAL|REAL|REAL|STRICT"
                                       << "" << car << "Ein Wert verletzt eine Regel der Tabelle."
                                       << "";
}

void LogStoreTest::engineWordsStayOut()
{
    QFETCH(QString, log);
    QFETCH(QString, sql);
    QFETCH(QString, source);
    QFETCH(QString, reason);
    QFETCH(QString, engineText);
    TestLog file;
    damage(file.path(), log, sql);
    if (!engineText.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(engineText));
    DataControl control;
    try {
        if (logstore::LogNames::isView(source))
            Fixture::open(control, file.path(), source);
        else
            record(file.path(), source, entry("|1|1|1")); // the empty date is stored as NULL
        QFAIL("no failure");
    } catch (const toolkit::Failure &failure) {
        QVERIFY2(failure.message().endsWith(QStringLiteral("\r\n") + reason), qPrintable(failure.message()));
        QVERIFY2(!hasEngineWords(QString(failure.message()).remove(file.path())),
                 qPrintable(failure.message()));
    }
    QCOMPARE(file.count(car), 0);
}

void LogStoreTest::openingSetsDurability()
{
    TestLog log;
    TestLog::query(log.path(), QStringLiteral("PRAGMA journal_mode = WAL")); // as another program left it
    logstore::Connection opening(log.path());
    QSqlQuery query(opening.database());
    QVERIFY(query.exec(QStringLiteral("PRAGMA synchronous")) && query.next());
    QCOMPARE(query.value(0).toInt(), 2); // FULL
    QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("delete"));
}

void LogStoreTest::buildToolKeepsAnExistingFile()
{
    TestLog log;
    log.append(car, entry("1.1.24|100|7|7"));
    const QByteArray before = contents(log.path());
    const QDateTime modified = QFileInfo(log.path()).lastModified();
    QFile schema(QDir(log.dir()).filePath(QStringLiteral("changed.sql")));
    QVERIFY(schema.open(QIODevice::WriteOnly) && schema.write("CREATE TABLE \"Andere\" (x);") > 0);
    schema.close();
    QCOMPARE(QProcess::execute(QStringLiteral(CREATELOG_PATH), {schema.fileName(), log.path()}), 0);
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, LogFileMaker::create(log.path(), TestLog::schema()));
    QCOMPARE(contents(log.path()), before);
    QCOMPARE(QFileInfo(log.path()).lastModified(), modified);
}

void LogStoreTest::anotherProcessWriting_data()
{
    QTest::addColumn<int>("count");     // entries the other process records, -1 until killed
    QTest::addColumn<int>("killAfter"); // rows it reported stored before the kill
    QTest::newRow("both writing to the end") << 120 << 0;
    QTest::newRow("killed early") << -1 << 5;
    QTest::newRow("killed later") << -1 << 60;
    QTest::newRow("killed much later") << -1 << 200;
}

void LogStoreTest::anotherProcessWriting()
{
    QFETCH(int, count);
    QFETCH(int, killAfter);
    Fixture f(0); // its control reads the log in between
    QProcess writer;
    writer.start(QCoreApplication::applicationFilePath(), {"--writer", f.log.path(), QString::number(count)});
    QVERIFY(writer.waitForStarted());
    QSet<int> acknowledged;
    int ours = 0; // recorded here meanwhile, from 1000000 km on
    while (killAfter > 0 ? acknowledged.size() < killAfter : writer.state() == QProcess::Running) {
        if (ours < count) {
            record(f.log.path(), car, entry(QStringLiteral("1.1.24|%1|1|1").arg(1000000 + ours++)));
            f.control.refresh(); // reading in between must block neither side
            f.control.moveLast();
            QVERIFY(!f.control.field(1).isEmpty());
        }
        writer.waitForReadyRead(100);
        QCOMPARE(collect(writer, acknowledged), QString());
    }
    writer.kill(); // SIGKILL: no chance to finish the row it is writing
    QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished(30000));
    QCOMPARE(collect(writer, acknowledged), QString());
    if (killAfter == 0) // it finished on its own
        QCOMPARE(acknowledged.size(), count);
    QCOMPARE(TestLog::query(f.log.path(), QStringLiteral("PRAGMA integrity_check")).at(0).at(0).toString(),
             QStringLiteral("ok"));
    const QList<QStringList> rows = f.log.rows(car);
    QSet<int> stored;
    for (const QStringList &row : rows)
        stored.insert(row.at(1).toInt());
    QCOMPARE(stored.size(), rows.size());
    QVERIFY(stored.contains(acknowledged));
    const QString mine = QStringLiteral("SELECT count(*) FROM Auto WHERE \"Gefahrene Kilometer\" >= 1000000");
    QCOMPARE(TestLog::query(f.log.path(), mine).at(0).at(0).toInt(), ours);
    // Of the writer's rows, at most the one stored but not yet reported comes on top.
    QVERIFY(stored.size() - ours <= acknowledged.size() + 1);
    QCOMPARE(record(f.log.path(), car, entry("1.1.24|1|1|1")).at(1), QStringLiteral("1")); // still usable
}

void LogStoreTest::everyReaderSeesTheSameRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("deleted"); // the row deleted first, -1 for none
    QTest::addColumn<int>("position");
    QTest::newRow("first of one") << 1 << -1 << 0;
    QTest::newRow("first deleted") << 5 << 0 << 3;
    QTest::newRow("middle deleted") << 6 << 2 << 2;
    QTest::newRow("last deleted") << 6 << 5 << 4;
    QTest::newRow("many rows") << 151 << 70 << 140;
}

void LogStoreTest::everyReaderSeesTheSameRow()
{
    QFETCH(int, rows);
    QFETCH(int, deleted);
    QFETCH(int, position);
    Fixture f(rows);
    if (deleted >= 0) { // the next row (or the new last one) becomes current
        f.control.setAbsolutePosition(deleted);
        f.control.deleteCurrent();
        f.rows.removeAt(deleted);
        QCOMPARE(f.log.rows(car), f.rows);
        QCOMPARE(currentRow(f.control), f.rows.at(qMin(deleted, f.rows.size() - 1)));
    }
    DataControl overview;
    f.open(overview);
    overview.setAbsolutePosition(position);
    f.control.moveLast();
    QCOMPARE(currentRow(f.control), f.rows.last());
    f.control.setAbsolutePosition(overview.absolutePosition());
    QCOMPARE(currentRow(f.control), f.rows.at(position));
    QCOMPARE(currentRow(overview), f.rows.at(position));
    QCOMPARE(f.boxes[0].text() + f.boxes[2].text(), f.rows.at(position).at(0) + f.rows.at(position).at(2));
    for (int outside : {-1, int(f.rows.size())})
        QVERIFY_THROWS_EXCEPTION(toolkit::Failure, overview.setAbsolutePosition(outside));
    QCOMPARE(overview.absolutePosition(), position);
    // The grid shows the same rows, under the field names.
    QAbstractItemModel *model = f.control.model();
    QCOMPARE(model->rowCount(), f.rows.size());
    QCOMPARE(model->columnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), fieldNames.at(c));
        QCOMPARE(model->index(position, c).data().toString(), f.rows.at(position).at(c));
    }
}

void LogStoreTest::updateStoresTheBoxes_data()
{
    QTest::addColumn<QString>("typed");      // into the boxes
    QTest::addColumn<QStringList>("stored"); // the row afterwards; none when refused
    QTest::newRow("plain") << "05.02.2024|412|33,5|8,1" << entry("05.02.2024|412|33,5|8,1");
    QTest::newRow("group separators, blanks")
        << "05.02.2024|1.412| 1.033,50 |8" << entry("05.02.2024|1412|1033,5|8");
    QTest::newRow("empty litres") << "05.02.2024|412||8,1" << entry("05.02.2024|412||8,1");
    QTest::newRow("letters in kilometres") << "05.02.2024|viel|33,5|8,1" << QStringList();
}

void LogStoreTest::updateStoresTheBoxes()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, stored);
    Fixture f(3);
    f.control.setAbsolutePosition(1);
    f.control.edit();
    for (int i = 0; i < 4; ++i)
        f.boxes[i].setText(entry(typed).at(i));
    if (stored.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.update());
    } else {
        f.control.update();
        f.rows[1] = stored;
        QCOMPARE(currentRow(f.control), stored);
        QCOMPARE(f.boxes[2].text(), stored.at(2));
    }
    QCOMPARE(f.log.rows(car), f.rows);
}

void LogStoreTest::changesRefused()
{
    Fixture f(3);
    f.boxes[1].setText(QStringLiteral("999"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.update()); // no edit begun
    f.control.edit();
    f.control.moveLast(); // moving drops the edit
    f.boxes[1].setText(QStringLiteral("999"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.update());
    DataControl other;
    f.open(other);
    other.moveLast();
    other.deleteCurrent();
    f.rows.removeLast();
    f.control.edit(); // the current row is gone meanwhile
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.update());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.deleteCurrent());
    QCOMPARE(f.log.rows(car), f.rows);
    f.open(f.control, QStringLiteral("Autogesamt"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.edit());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.deleteCurrent());
    // A log file removed after the last refresh: the next refresh fails and nothing is made anew.
    QVERIFY(QFile::remove(f.log.path()));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, f.control.refresh());
    QVERIFY(!QFile::exists(f.log.path()));
    Fixture empty(0); // no current row at all; the boxes are cleared
    empty.boxes[0].setText(QStringLiteral("alt"));
    empty.control.refresh();
    QCOMPARE(empty.control.absolutePosition(), -1);
    QCOMPARE(empty.boxes[0].text(), QString());
}

void LogStoreTest::appendWhileControlsHoldTheFile()
{
    Fixture f(100); // litres 0,1 to 10: a sum that binary fractions do not hit exactly
    DataControl grid;
    f.open(grid);
    DataControl overview;
    const auto totals = [&](const QString &view) {
        f.open(overview, view);
        return overview.field(0) + QLatin1Char('|') + overview.field(1);
    };
    QCOMPARE(totals(QStringLiteral("Autogesamt")), QStringLiteral("5050|505"));
    QCOMPARE(totals(QStringLiteral("Motorradgesamt")), QStringLiteral("0|0"));
    QCOMPARE(grid.model()->index(50, 1).data().toString(), f.rows.at(50).at(1));
    f.control.moveLast();
    record(f.log.path(), car, entry("1.1.24|10|1|1"));
    record(f.log.path(), bike, entry("1.1.24|180|6,3|3,5"));
    record(f.log.path(), bike, entry("2.1.24|0,5||"));
    f.control.edit();
    f.control.update();
    QCOMPARE(f.log.count(car), 101);
    QCOMPARE(grid.recordCount(), 100); // seen at the next refresh only
    grid.refresh();
    QCOMPARE(grid.recordCount(), 101);
    QCOMPARE(totals(QStringLiteral("Motorradgesamt")), QStringLiteral("180,5|6,3"));
    QCOMPARE(totals(QStringLiteral("Autogesamt")), QStringLiteral("5060|506"));
}

// Run as "<this test> --writer <database> <count, -1 for endless>" it is the other process: records
// entries into Auto one after another and prints "ok <km>" after each stored one.
int writeEntries(const QString &path, qint64 count)
{
    for (qint64 km = 1; km <= count || count < 0; ++km) {
        try {
            record(path, car, entry(QStringLiteral("02.02.2024|%1|1,5|7,5").arg(km)));
        } catch (const toolkit::Failure &failure) {
            std::printf("fail %s\n", failure.what());
            return 1;
        }
        std::printf("ok %lld\n", static_cast<long long>(km));
        std::fflush(stdout);
    }
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--writer") == 0) {
        QCoreApplication app(argc, argv);
        return writeEntries(app.arguments().at(2), app.arguments().at(3).toLongLong());
    }
    QApplication app(argc, argv);
    LogStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LogStoreTest.moc"

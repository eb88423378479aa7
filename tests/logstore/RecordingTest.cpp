// Appending entries through Database and Recordset, the failures of opening and storing, the
// summary views, and the build tool that makes the log database.
#include <DataControl.h>
#include <Database.h>
#include <Failure.h>
#include <LogFileMaker.h>
#include <TestLog.h>

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using logstore::Database;
using logstore::Recordset;

namespace {

const QString datum = QStringLiteral("Datum");
const QString km = QStringLiteral("Gefahrene Kilometer");
const QString liter = QStringLiteral("Getankte Liter");
const QString verbrauch = QStringLiteral("Verbrauch auf 100 km in Liter");

// One recording as the main window makes it: kilometres before litres.
qint64 record(const QString &path, const QString &table, const QStringList &values)
{
    Database db = Database::open(path);
    Recordset records = db.openRecordset(table);
    records.addNew();
    records.setField(datum, values.at(0));
    records.setField(km, values.at(1));
    records.setField(liter, values.at(2));
    records.setField(verbrauch, values.at(3));
    records.update();
    records.setBookmark(records.lastModified());
    return records.bookmark();
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A connection of the test's own, for looking at the file behind the program's back.
class RawConnection {
public:
    explicit RawConnection(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QVariant scalar(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (!query.exec(sql) || !query.next())
            return {};
        return query.value(0);
    }
    bool exec(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        return query.exec(sql);
    }

private:
    QString m_name = QStringLiteral("raw-%1").arg(reinterpret_cast<quintptr>(this));
};

} // namespace

class RecordingTest : public QObject {
    Q_OBJECT
private slots:
    void appendReadsBackAsNumberTexts_data();
    void appendReadsBackAsNumberTexts();
    void emptyTextIsStoredAsNull();
    void refusedTextStoresNothing_data();
    void refusedTextStoresNothing();
    void openFailures_data();
    void openFailures();
    void storeFailsWhileLockedPastTimeout();
    void storeFailsOnReadOnlyFile();
    void bookmarkFollowsLastModified();
    void viewTotals_data();
    void viewTotals();
    void buildToolKeepsExistingFile();
    void buildToolMakesStrictLog();
};

void RecordingTest::appendReadsBackAsNumberTexts_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("readBack");
    const QString today = QStringLiteral("06.12.2024");
    QTest::newRow("decimal comma") << "Auto" << QStringList{today, "600", "45,5", "7,58"}
                                   << QStringList{today, "600", "45,5", "7,58"};
    QTest::newRow("blanks around") << "Auto" << QStringList{today, " 180 ", "  6,3", "3,5"}
                                   << QStringList{today, "180", "6,3", "3,5"};
    QTest::newRow("group separators") << "Motorrad" << QStringList{today, "1.234,5", "1.000", "7"}
                                      << QStringList{today, "1234,5", "1000", "7"};
    QTest::newRow("trailing zeros") << "Motorrad" << QStringList{today, "100,00", "7,10", "7,1"}
                                    << QStringList{today, "100", "7,1", "7,1"};
    QTest::newRow("date kept as typed")
        << "Auto" << QStringList{" 1.2.24 ", "1", "1", "100"} << QStringList{" 1.2.24 ", "1", "1", "100"};
}

void RecordingTest::appendReadsBackAsNumberTexts()
{
    QFETCH(QString, table);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, readBack);
    TestLog log;
    record(log.path(), table, typed);
    record(log.path(), table, typed);
    const QString other =
        table == QLatin1String("Auto") ? QStringLiteral("Motorrad") : QStringLiteral("Auto");
    QCOMPARE(log.rows(table), (QList<QStringList>{readBack, readBack}));
    QCOMPARE(log.count(other), 0);
}

void RecordingTest::emptyTextIsStoredAsNull()
{
    TestLog log;
    record(log.path(), QStringLiteral("Auto"), {"06.12.2024", "", "", "7,5"});
    QCOMPARE(log.rows(QStringLiteral("Auto")), (QList<QStringList>{{"06.12.2024", "", "", "7,5"}}));
    RawConnection raw(log.path());
    QCOMPARE(raw.scalar(QStringLiteral("SELECT count(*) FROM Auto WHERE \"Getankte Liter\" IS NULL "
                                       "AND \"Gefahrene Kilometer\" IS NULL"))
                 .toInt(),
             1);
}

void RecordingTest::refusedTextStoresNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters in km") << km << "zwölf";
    QTest::newRow("letters in litres") << liter << "4,5l";
    QTest::newRow("two commas") << liter << "1,2,3";
    QTest::newRow("blanks only") << km << "   ";
    QTest::newRow("consumption text") << verbrauch << "Unendlich";
    QTest::newRow("sql in litres") << liter << "1); DROP TABLE Auto; --";
}

void RecordingTest::refusedTextStoresNothing()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    TestLog log;
    {
        Database db = Database::open(log.path());
        Recordset records = db.openRecordset(QStringLiteral("Auto"));
        records.addNew();
        records.setField(datum, QStringLiteral("06.12.2024"));
        try {
            records.setField(field, text);
            QFAIL("the text was taken");
        } catch (const toolkit::Failure &failure) {
            QVERIFY2(failure.message().contains(field), qPrintable(failure.message()));
        }
    }
    QCOMPARE(log.count(QStringLiteral("Auto")), 0);
    QCOMPARE(log.count(QStringLiteral("Motorrad")), 0);
}

void RecordingTest::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file missing") << "missing"
                                  << "Auto"
                                  << "nicht gefunden";
    QTest::newRow("text file") << "text"
                               << "Auto"
                               << "keine gültige Datenbank";
    QTest::newRow("damaged header") << "damaged"
                                    << "Auto"
                                    << "keine gültige Datenbank";
    QTest::newRow("table missing") << "noMotorrad"
                                   << "Motorrad"
                                   << "gibt es in der Datenbank";
    QTest::newRow("name not ours") << "fine"
                                   << "auto"
                                   << "gibt es in der Datenbank";
    QTest::newRow("view is no log") << "fine"
                                    << "Autogesamt"
                                    << "gibt es in der Datenbank";
}

void RecordingTest::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, table);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Verbrauch.mdb"));
    if (kind == QLatin1String("text")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Datum;Kilometer;Liter\r\n01.01.2024;100;7\r\n");
    } else if (kind == QLatin1String("damaged")) {
        LogFileMaker::create(path, TestLog::schema());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(16, 'x'));
    } else if (kind == QLatin1String("noMotorrad")) {
        LogFileMaker::create(path,
                             QStringLiteral("CREATE TABLE \"Auto\" (\"Datum\" TEXT, \"Gefahrene Kilometer\" "
                                            "REAL, \"Getankte Liter\" REAL, \"Verbrauch auf 100 km in "
                                            "Liter\" REAL) STRICT;"));
    } else if (kind == QLatin1String("fine")) {
        LogFileMaker::create(path, TestLog::schema());
    }
    const QByteArray before = fileHash(path);
    try {
        record(path, table, {"06.12.2024", "100", "7", "7"});
        QFAIL("the recording went through");
    } catch (const toolkit::Failure &failure) {
        QVERIFY2(failure.message().contains(expected), qPrintable(failure.message()));
        QVERIFY2(failure.message().contains(path), qPrintable(failure.message()));
    }
    QCOMPARE(QFile::exists(path), kind != QLatin1String("missing"));
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(),
             kind == QLatin1String("missing") ? 0 : 1);
}

void RecordingTest::storeFailsWhileLockedPastTimeout()
{
    TestLog log;
    Database::setBusyTimeout(200);
    RawConnection holder(log.path());
    QVERIFY(holder.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    try {
        record(log.path(), QStringLiteral("Auto"), {"06.12.2024", "100", "7", "7"});
        QFAIL("stored past a held lock");
    } catch (const toolkit::Failure &failure) {
        QVERIFY2(failure.message().contains(QStringLiteral("gesperrt")), qPrintable(failure.message()));
    }
    QVERIFY(holder.exec(QStringLiteral("ROLLBACK")));
    Database::setBusyTimeout(5000);
    QCOMPARE(log.count(QStringLiteral("Auto")), 0);
    record(log.path(), QStringLiteral("Auto"), {"06.12.2024", "100", "7", "7"});
    QCOMPARE(log.count(QStringLiteral("Auto")), 1);
}

void RecordingTest::storeFailsOnReadOnlyFile()
{
    TestLog log;
    QFile::setPermissions(log.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFile(log.path()).open(QIODevice::ReadWrite))
        QSKIP("file permissions do not bind this user");
    try {
        record(log.path(), QStringLiteral("Auto"), {"06.12.2024", "100", "7", "7"});
        QFAIL("stored into a read-only file");
    } catch (const toolkit::Failure &failure) {
        QVERIFY2(failure.message().contains(QStringLiteral("schreibgeschützt")),
                 qPrintable(failure.message()));
    }
    QCOMPARE(log.count(QStringLiteral("Auto")), 0);
}

void RecordingTest::bookmarkFollowsLastModified()
{
    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.01.2024", "100", "7", "7"});
    Database db = Database::open(log.path());
    Recordset records = db.openRecordset(QStringLiteral("Auto"));
    QCOMPARE(records.field(km), QStringLiteral("100"));
    records.addNew();
    records.setField(datum, QStringLiteral("02.01.2024"));
    records.setField(km, QStringLiteral("250"));
    records.update();
    QCOMPARE(records.field(km), QStringLiteral("100")); // storing alone does not move
    records.setBookmark(records.lastModified());
    QCOMPARE(records.field(datum), QStringLiteral("02.01.2024"));
    QCOMPARE(records.field(km), QStringLiteral("250"));
    QCOMPARE(records.field(liter), QString());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, records.setBookmark(records.lastModified() + 1));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, records.update()); // nothing begun
    QCOMPARE(log.count(QStringLiteral("Auto")), 2);
}

void RecordingTest::viewTotals_data()
{
    QTest::addColumn<QList<QStringList>>("autoRows");
    QTest::addColumn<QList<QStringList>>("motorradRows");
    QTest::addColumn<QStringList>("autoTotals");
    QTest::addColumn<QStringList>("motorradTotals");
    QTest::newRow("both empty") << QList<QStringList>{} << QList<QStringList>{} << QStringList{"0", "0"}
                                << QStringList{"0", "0"};
    QTest::newRow("car only") << QList<QStringList>{{"01.01.2024", "100", "7", "7"},
                                                    {"02.01.2024", "200", "15", "7,5"}}
                              << QList<QStringList>{} << QStringList{"300", "22"} << QStringList{"0", "0"};
    QTest::newRow("both, decimals and gaps")
        << QList<QStringList>{{"01.01.2024", "100,5", "7,25", "7,21"}, {"02.01.2024", "", "", ""}}
        << QList<QStringList>{{"01.01.2024", "180", "6,3", "3,5"}} << QStringList{"100,5", "7,25"}
        << QStringList{"180", "6,3"};
}

void RecordingTest::viewTotals()
{
    QFETCH(QList<QStringList>, autoRows);
    QFETCH(QList<QStringList>, motorradRows);
    QFETCH(QStringList, autoTotals);
    QFETCH(QStringList, motorradTotals);
    TestLog log;
    for (const QStringList &row : autoRows)
        record(log.path(), QStringLiteral("Auto"), row);
    for (const QStringList &row : motorradRows)
        record(log.path(), QStringLiteral("Motorrad"), row);
    logstore::DataControl control;
    control.setDatabaseName(log.path());
    for (const auto &[view, totals] : {std::pair{QStringLiteral("Autogesamt"), autoTotals},
                                       std::pair{QStringLiteral("Motorradgesamt"), motorradTotals}}) {
        control.setRecordSource(view);
        control.refresh();
        QCOMPARE(control.recordCount(), 1);
        QCOMPARE(control.absolutePosition(), 0);
        QCOMPARE((QStringList{control.field(0), control.field(1)}), totals);
    }
}

void RecordingTest::buildToolKeepsExistingFile()
{
    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.01.2024", "100", "7", "7"});
    const QByteArray before = fileHash(log.path());
    const QDateTime modified = QFileInfo(log.path()).lastModified();
    QFile schema(QDir(log.dir()).filePath(QStringLiteral("changed.sql")));
    QVERIFY(schema.open(QIODevice::WriteOnly));
    schema.write("CREATE TABLE \"Andere\" (x);");
    schema.close();
    QProcess tool;
    tool.start(QStringLiteral(CREATELOG_PATH), {schema.fileName(), log.path()});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(fileHash(log.path()), before);
    QCOMPARE(QFileInfo(log.path()).lastModified(), modified);
    QCOMPARE(log.rows(QStringLiteral("Auto")), (QList<QStringList>{{"01.01.2024", "100", "7", "7"}}));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, LogFileMaker::create(log.path(), TestLog::schema()));
    QCOMPARE(fileHash(log.path()), before);
}

void RecordingTest::buildToolMakesStrictLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Verbrauch.mdb"));
    QProcess tool;
    tool.start(QStringLiteral(CREATELOG_PATH), {QStringLiteral(TANKVERZEHR_SCHEMA_FILE), path});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"Verbrauch.mdb"});
    RawConnection raw(path);
    QCOMPARE(raw.scalar(QStringLiteral("SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_schema "
                                       "ORDER BY name)"))
                 .toString(),
             QStringLiteral("Auto,Autogesamt,Motorrad,Motorradgesamt"));
    QVERIFY(!raw.exec(QStringLiteral("INSERT INTO Auto (\"Getankte Liter\") VALUES ('viel')")));
    QVERIFY(!raw.exec(QStringLiteral("INSERT INTO Motorrad (\"Gefahrene Kilometer\") VALUES ('weit')")));
    QVERIFY(raw.exec(QStringLiteral("INSERT INTO Motorrad (\"Gefahrene Kilometer\") VALUES (12)")));
    QCOMPARE(raw.scalar(QStringLiteral("SELECT typeof(\"Gefahrene Kilometer\") FROM Motorrad")).toString(),
             QStringLiteral("real"));
}

QTEST_GUILESS_MAIN(RecordingTest)
#include "RecordingTest.moc"

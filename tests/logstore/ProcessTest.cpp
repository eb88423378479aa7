// Another process writing to the same log at the same time, and a process killed in the middle
// of a burst of recordings.
#include <DataControl.h>
#include <Database.h>
#include <Failure.h>
#include <TestLog.h>

#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString autoLog = QStringLiteral("Auto");

// Reads the writer's "ok <km>" lines as they come; returns false on a "fail" line.
bool collect(QProcess &writer, QSet<int> &acknowledged, QString &failure)
{
    while (writer.canReadLine()) {
        const QString line = QString::fromUtf8(writer.readLine()).trimmed();
        if (line.startsWith(QLatin1String("ok ")))
            acknowledged.insert(line.mid(3).toInt());
        else if (!line.isEmpty()) {
            failure = line;
            return false;
        }
    }
    return true;
}

QString integrity(const QString &path, QSet<int> &kilometres)
{
    const QString name = QStringLiteral("integrity");
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery check(db);
        check.exec(QStringLiteral("PRAGMA integrity_check"));
        result = check.next() ? check.value(0).toString() : check.lastError().text();
        QSqlQuery rows(db);
        rows.exec(QStringLiteral("SELECT \"Gefahrene Kilometer\" FROM Auto"));
        while (rows.next())
            kilometres.insert(rows.value(0).toInt());
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

class ProcessTest : public QObject {
    Q_OBJECT
private slots:
    void secondProcessWritingMakesNoWriteFail();
    void killedWriterLeavesEveryAcknowledgedRow_data();
    void killedWriterLeavesEveryAcknowledgedRow();
};

void ProcessTest::secondProcessWritingMakesNoWriteFail()
{
    TestLog log;
    constexpr int each = 120;
    QProcess writer;
    writer.start(QStringLiteral(LOGWRITER_PATH), {log.path(), autoLog, QString::number(each), "100000"});
    QVERIFY(writer.waitForStarted());
    logstore::DataControl grid;
    grid.setDatabaseName(log.path());
    grid.setRecordSource(autoLog);
    QSet<int> acknowledged;
    QString failure;
    for (int i = 0; i < each; ++i) {
        logstore::Database db = logstore::Database::open(log.path());
        logstore::Recordset records = db.openRecordset(autoLog);
        records.addNew();
        records.setField(QStringLiteral("Gefahrene Kilometer"), QString::number(i));
        records.update();
        grid.refresh(); // reading in between must not block either side
        if (grid.recordCount() > 0) {
            grid.moveLast();
            QVERIFY(!grid.field(1).isEmpty());
        }
        QVERIFY2(collect(writer, acknowledged, failure), qPrintable(failure));
    }
    QVERIFY(writer.waitForFinished(60000));
    QVERIFY2(collect(writer, acknowledged, failure), qPrintable(failure));
    QCOMPARE(writer.exitCode(), 0);
    QCOMPARE(acknowledged.size(), each);
    QCOMPARE(log.count(autoLog), 2 * each);
}

void ProcessTest::killedWriterLeavesEveryAcknowledgedRow_data()
{
    QTest::addColumn<int>("killAfter");
    QTest::newRow("early") << 5;
    QTest::newRow("later") << 60;
    QTest::newRow("much later") << 200;
}

void ProcessTest::killedWriterLeavesEveryAcknowledgedRow()
{
    QFETCH(int, killAfter);
    TestLog log;
    QProcess writer;
    writer.start(QStringLiteral(LOGWRITER_PATH), {log.path(), autoLog, "-1", "1"});
    QVERIFY(writer.waitForStarted());
    QSet<int> acknowledged;
    QString failure;
    while (acknowledged.size() < killAfter) {
        QVERIFY(writer.waitForReadyRead(30000));
        QVERIFY2(collect(writer, acknowledged, failure), qPrintable(failure));
    }
    writer.kill(); // SIGKILL: no chance to finish the row it is writing
    QVERIFY(writer.waitForFinished(30000));
    QVERIFY2(collect(writer, acknowledged, failure), qPrintable(failure));

    QSet<int> stored;
    QCOMPARE(integrity(log.path(), stored), QStringLiteral("ok"));
    QVERIFY(stored.contains(acknowledged));
    // At most the one row committed but not yet reported.
    QVERIFY(stored.size() <= acknowledged.size() + 1);
    QCOMPARE(log.count(autoLog), stored.size());
    // The file takes further recordings.
    logstore::Database db = logstore::Database::open(log.path());
    logstore::Recordset records = db.openRecordset(autoLog);
    records.addNew();
    records.setField(QStringLiteral("Gefahrene Kilometer"), QStringLiteral("1"));
    records.update();
    QCOMPARE(log.count(autoLog), stored.size() + 1);
}

QTEST_GUILESS_MAIN(ProcessTest)
#include "ProcessTest.moc"

// The data tool's writes in its own process, where a write can be made to fail as on a full disk:
// a file that cannot be written wholly is not reported as written and leaves nothing behind, and
// every opening of the log syncs its commits.
#include "CommandLine.h"
#include "DataTool.h"
#include "LogImport.h"
#include "OutputDevice.h"
#include "TestLog.h"
#include "WriteSteps.h"

#include <QDir>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

class WritesTest : public QObject {
    Q_OBJECT
private slots:
    void failedWrite_data();
    void failedWrite();
    void importSyncsItsCommit();
};

void WritesTest::failedWrite_data()
{
    QTest::addColumn<QStringList>("arguments"); // the log and the target follow
    QTest::addColumn<qint64>("limit");          // bytes written before the disk is full
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");

    const QString full = QStringLiteral("Der Datenträger ist voll.");
    QTest::newRow("export, disk full at once") << QStringList{"export"} << qint64(0) << ENOSPC << full;
    QTest::newRow("export, disk full midway") << QStringList{"export"} << qint64(40) << ENOSPC << full;
    QTest::newRow("export, quota") << QStringList{"export"} << qint64(0) << EDQUOT
                                   << "Der Ihnen zugeteilte Speicherplatz ist aufgebraucht.";
    QTest::newRow("report, disk full at once") << QStringList{"bericht"} << qint64(0) << ENOSPC << full;
    QTest::newRow("report, disk full midway") << QStringList{"bericht"} << qint64(5000) << ENOSPC << full;
    QTest::newRow("report, input/output error")
        << QStringList{"bericht"} << qint64(4000) << EIO << QStringLiteral("Systemfehler %1.").arg(EIO);
}

void WritesTest::failedWrite()
{
    QFETCH(QStringList, arguments);
    QFETCH(qint64, limit);
    QFETCH(int, error);
    QFETCH(QString, reason);
    TestLog log;
    log.appendMany(QStringLiteral("Auto"), 300);
    const QString target = QDir(log.dir()).filePath(QStringLiteral("Ausgabe"));
    const CommandLine line =
        CommandLine::parse(arguments + QStringList{"--log", log.path(), "--ziel", target});

    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    OutputDevice standardOutput(nowhere, QStringLiteral("Die Standardausgabe"));
    QString errText;
    QTextStream err(&errText);
    OutputDevice::setFault(limit, error);
    const auto restore = qScopeGuard([nowhere] {
        OutputDevice::setFault(-1, 0);
        ::close(nowhere);
    });
    QCOMPARE(DataTool::run(line, log.dir(), standardOutput, err), int(DataTool::Failed));
    QCOMPARE(errText,
             QStringLiteral("Die Datei \"%1\" lässt sich nicht schreiben. %2\n").arg(target, reason));
    // Neither the file nor its temporary is left.
    QCOMPARE(QDir(log.dir()).entryList(QDir::Files | QDir::Hidden), QStringList{"Verbrauch.mdb"});
}

void WritesTest::importSyncsItsCommit()
{
    TestLog log;
    const QString csv = QDir(log.dir()).filePath(QStringLiteral("neu.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Datum;Gefahrene Kilometer;Getankte Liter;Verbrauch auf 100 km in Liter\r\n"
               "01.01.2024;500;35;7\r\n");
    file.close();
    // Right before its commit, every opening the import holds is asked for its level.
    QList<int> levels;
    logstore::WriteSteps::setHook([&levels](logstore::WriteSteps::Step step) {
        if (step != logstore::WriteSteps::Step::Commit)
            return;
        for (const QString &name : QSqlDatabase::connectionNames()) {
            QSqlQuery query(QSqlDatabase::database(name, false));
            levels << (query.exec(QStringLiteral("PRAGMA synchronous")) && query.next()
                           ? query.value(0).toInt()
                           : -1);
        }
    });
    const auto restore = qScopeGuard([] { logstore::WriteSteps::setHook({}); });
    LogImport::run({log.path(), QStringLiteral("Auto"), csv, QDate(2026, 12, 10)});
    QCOMPARE(log.count(QStringLiteral("Auto")), 1);
    QCOMPARE(levels, QList<int>{3}); // EXTRA: the folder is synced once the journal is gone
}

QTEST_MAIN(WritesTest)
#include "tst_writes.moc"

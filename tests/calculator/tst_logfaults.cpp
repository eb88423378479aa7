// The log under faults, through the real windows. A recording whose steps fail one at a time is
// reported as failed exactly when its row is not in the file. Damaged log files are refused by
// the calculator, the overview and the editor with one German message each, and stay as they were.
#include "Connection.h"
#include "Database.h"
#include "EngineWords.h"
#include "EntryEditorWindow.h"
#include "Failure.h"
#include "MessageRecorder.h"
#include "OverviewWindow.h"
#include "Program.h"
#include "WriteSteps.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSqlQuery>

using Step = logstore::WriteSteps::Step;

namespace {

const QString car = QStringLiteral("Auto");

// Another program on the same file, with an opening of its own that can hold a lock: runs the
// statements one after another and reads what they return; true when all ran.
bool run(const logstore::Connection &other, const QString &statements)
{
    for (const QString &sql : statements.split(QStringLiteral("; "))) {
        QSqlQuery query(other.database());
        if (!query.exec(sql))
            return false;
        while (query.next()) {
        }
    }
    return true;
}

} // namespace

class LogFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        logstore::WriteSteps::setHook({});
        logstore::Database::setBusyTimeout(5000);
    }

    void recordingStepFails_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("fault"); // "refuse", or what the other program does at that step
        QTest::addColumn<bool>("told");     // the user is told the recording failed
        QTest::addColumn<int>("stored");    // rows in the log afterwards
        // clang-format off
        QTest::newRow("begin: another program writing") << int(Step::Begin) << "BEGIN IMMEDIATE" << true << 0;
        QTest::newRow("statement refused") << int(Step::Statement) << "refuse" << true << 0;
        QTest::newRow("commit: another program reading") << int(Step::Commit) << "BEGIN; SELECT count(*) FROM Auto" << true << 0;
        QTest::newRow("after the commit: file locked") << int(Step::AfterCommit) << "BEGIN EXCLUSIVE" << false << 1;
        QTest::newRow("after the commit: row deleted") << int(Step::AfterCommit) << "DELETE FROM Auto WHERE rowid = (SELECT max(rowid) FROM Auto)" << false << 0;
        // clang-format on
    }

    void recordingStepFails()
    {
        QFETCH(int, step);
        QFETCH(QString, fault);
        QFETCH(bool, told);
        QFETCH(int, stored);
        Program program;
        const TestLog &log = program.log;
        MessageRecorder messages;
        const logstore::Connection other(log.path());
        logstore::Database::setBusyTimeout(200);
        bool reached = false;
        logstore::WriteSteps::setHook([&](Step at) {
            if (int(at) != step)
                return;
            reached = true;
            if (fault == u"refuse")
                throw core::Failure(QStringLiteral("Der Eintrag wurde abgelehnt."));
            QVERIFY(run(other, fault));
        });
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        program.calculate(QStringLiteral("45,5"), QStringLiteral("600"));
        logstore::WriteSteps::setHook({});
        if (fault.startsWith(u"BEGIN")) // the other program lets go of the file
            QVERIFY(run(other, QStringLiteral("ROLLBACK")));

        QVERIFY(reached);
        QCOMPARE(messages.shown().size(), told ? 1 : 0);
        if (told)
            QVERIFY2(!hasEngineWords(QString(messages.shown()[0].prompt).remove(log.path())),
                     qPrintable(messages.shown()[0].prompt));
        QCOMPARE(user::control<QPushButton>(&program.main, "calculate")->text(),
                 told ? QStringLiteral("&Berechnen") : QStringLiteral("&Nochmal"));
        QCOMPARE(log.count(car), stored);
        // The failed recording can be repeated and then stands in the log once.
        if (told) {
            Program::click(&program.main, "calculate");
            QCOMPARE(log.rows(car), (QList<QStringList>{{"07.12.2026", "600", "45,5", "7,58"}}));
        }
    }

    void damagedLog_data()
    {
        QTest::addColumn<QString>("file");     // what is done to the file: empty, text, truncate, or SQL
        QTest::addColumn<QString>("expected"); // in each window's message; %1 is the file
        const QString invalid =
            QStringLiteral("Die Datei ist keine gültige Datenbank oder sie ist beschädigt.");
        // clang-format off
        QTest::newRow("zero-byte file") << "empty" << "gibt es in der Datenbank \"%1\" nicht.";
        QTest::newRow("text file") << "text" << invalid;
        QTest::newRow("truncated file") << "truncate" << invalid;
        QTest::newRow("missing table") << "DROP TABLE Auto" << "Die Tabelle \"Auto\" gibt es in der Datenbank \"%1\" nicht.";
        // clang-format on
    }

    void damagedLog()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        Program program;
        TestLog &log = program.log;
        log.record(car, {{"01.01.2024", "100", "7", "7"}});
        QFile damaged(log.path());
        if (file == u"empty" || file == u"text") {
            QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
            damaged.write(file == u"text" ? "Datum;Kilometer;Liter\r\n01.01.2024;100;7\r\n" : "");
            damaged.close();
        } else if (file == u"truncate") {
            log.appendMany(car, 3000);
            QVERIFY(damaged.resize(damaged.size() / 2));
        } else {
            for (const QString &statement : file.split(QStringLiteral("; ")))
                TestLog::query(log.path(), statement);
        }
        const QByteArray before = TestLog::bytes(log.path());
        const QStringList files = QDir(log.dir()).entryList(QDir::Files);
        expected.replace(QStringLiteral("%1"), log.path());

        MessageRecorder messages;
        const auto toldOnce = [&](const char *window) {
            QVERIFY2(messages.shown().size() == 1, window);
            const QString prompt = messages.shown()[0].prompt;
            QVERIFY2(prompt.contains(expected) && !hasEngineWords(QString(prompt).remove(log.path())),
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(window), prompt)));
            messages.clear();
        };
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        program.calculate(QStringLiteral("45,5"), QStringLiteral("600"));
        toldOnce("calculator");
        QCOMPARE(user::control<QPushButton>(&program.main, "calculate")->text(),
                 QStringLiteral("&Berechnen"));
        {
            overview::OverviewWindow overview([] { return car; });
            overview.show();
            overview.activateWindow();
            QTRY_COMPARE(messages.shown().size(), 1);
            QVERIFY(QTest::qWaitForWindowActive(&overview));
            toldOnce("overview");
        }
        {
            editor::EntryEditorWindow editor([] { return car; }, [] { return std::optional(0); });
            editor.show();
            editor.activateWindow();
            QTRY_COMPARE(messages.shown().size(), 1);
            QTRY_VERIFY(editor.isHidden());
            toldOnce("editor");
        }
        QCOMPARE(TestLog::bytes(log.path()), before);
        QCOMPARE(QDir(log.dir()).entryList(QDir::Files), files);
    }
};

QTEST_MAIN(LogFaultsTest)
#include "tst_logfaults.moc"

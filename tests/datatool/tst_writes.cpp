// The data tool's writes in its own process, where a write can be made to fail as on a full disk:
// a file that cannot be written wholly is not reported as written and leaves nothing behind.
#include "CommandLine.h"
#include "DataTool.h"
#include "Failure.h"
#include "NewFile.h"
#include "OutputDevice.h"
#include "TestLog.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using datatool::CommandLine;
using datatool::DataTool;
using datatool::NewFile;
using datatool::OutputDevice;

class WritesTest : public QObject {
    Q_OBJECT
private slots:
    void failedWrite_data()
    {
        QTest::addColumn<QStringList>("arguments"); // the log and the target follow
        QTest::addColumn<qint64>("limit");          // bytes written before the disk is full
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");

        const QString full = QStringLiteral("Der Datenträger ist voll.");
        // clang-format off
        QTest::newRow("export, disk full at once") << QStringList{"export"} << qint64(0) << ENOSPC << full;
        QTest::newRow("export, disk full midway") << QStringList{"export"} << qint64(40) << ENOSPC << full;
        QTest::newRow("export, quota") << QStringList{"export"} << qint64(0) << EDQUOT << "Der Ihnen zugeteilte Speicherplatz ist aufgebraucht.";
        QTest::newRow("report, disk full at once") << QStringList{"bericht"} << qint64(0) << ENOSPC << full;
        QTest::newRow("report, disk full midway") << QStringList{"bericht"} << qint64(5000) << ENOSPC << full;
        QTest::newRow("report, input/output error") << QStringList{"bericht"} << qint64(4000) << EIO << QStringLiteral("Systemfehler %1.").arg(EIO);
        // clang-format on
    }

    void failedWrite()
    {
        QFETCH(QStringList, arguments);
        QFETCH(qint64, limit);
        QFETCH(int, error);
        QFETCH(QString, reason);
        TestLog log;
        log.appendMany(QStringLiteral("Auto"), 300);
        const QString target = log.filePath(QStringLiteral("Ausgabe"));
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

    void commit_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("ending");    // what the file must end with
        QTest::addColumn<QByteArray>("appearing"); // another program's file under the target meanwhile
        QTest::addColumn<QString>("message");      // the failure's end; none for a file written
        QTest::addColumn<QByteArray>("kept");      // what the target holds afterwards

        const QByteArray pdf = "%PDF-1.4\n1 0 obj\n%%EOF\n";
        // clang-format off
        QTest::newRow("written") << QByteArray("a;b\r\n") << QByteArray() << QByteArray() << QString() << QByteArray("a;b\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << QString() << QByteArray();
        QTest::newRow("ending after a line end") << pdf << QByteArray("%%EOF") << QByteArray() << QString() << pdf;
        QTest::newRow("ending missing") << QByteArray("%PDF-1.4\n1 0 obj\n") << QByteArray("%%EOF") << QByteArray() << "ist unvollständig geschrieben worden und wurde verworfen." << QByteArray();
        QTest::newRow("shorter than its ending") << QByteArray("%%") << QByteArray("%%EOF") << QByteArray() << "ist unvollständig geschrieben worden und wurde verworfen." << QByteArray();
        QTest::newRow("target appeared meanwhile") << QByteArray("a;b\r\n") << QByteArray() << QByteArray("fremd") << "gibt es inzwischen; sie wird nicht überschrieben." << QByteArray("fremd");
        // clang-format on
    }

    void commit()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, ending);
        QFETCH(QByteArray, appearing);
        QFETCH(QString, message);
        QFETCH(QByteArray, kept);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString target = folder.filePath(QStringLiteral("neu.csv"));

        QString failure;
        {
            NewFile file(target);
            QCOMPARE(file.device().write(content), content.size());
            if (!appearing.isEmpty()) {
                QFile other(target);
                QVERIFY(other.open(QIODevice::WriteOnly));
                other.write(appearing);
            }
            try {
                file.commit(ending);
            } catch (const core::Failure &error) {
                failure = error.message();
            }
        }
        if (message.isEmpty())
            QCOMPARE(failure, QString());
        else
            QVERIFY2(failure.endsWith(message), qPrintable(failure));
        QFile result(target);
        QCOMPARE(result.exists(), message.isEmpty() || !appearing.isEmpty());
        if (result.exists()) {
            QVERIFY(result.open(QIODevice::ReadOnly));
            QCOMPARE(result.readAll(), kept);
        }
        // No temporary file is left, whatever the outcome.
        const QStringList expected = result.exists() ? QStringList{"neu.csv"} : QStringList{};
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), expected);
    }
};

QTEST_MAIN(WritesTest)
#include "tst_writes.moc"

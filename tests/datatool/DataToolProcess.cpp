#include "DataToolProcess.h"

#include "Database.h"
#include "LogNames.h"

#include <QFile>
#include <QProcess>
#include <stdexcept>

DataToolProcess::Result DataToolProcess::run(const QStringList &arguments,
                                             const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(DATATOOL_PATH), arguments);
    Result result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void DataToolProcess::record(const QString &logPath, const QString &table, const QList<QStringList> &rows)
{
    logstore::Database database = logstore::Database::open(logPath);
    logstore::RowAppender records = database.openAppender(table);
    for (const QStringList &row : rows) {
        records.addNew();
        for (int field = 0; field < row.size(); ++field)
            records.setField(core::LogNames::fields().at(field), row.at(field));
        records.update();
    }
}

void DataToolProcess::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

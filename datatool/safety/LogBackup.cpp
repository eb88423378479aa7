#include "LogBackup.h"

#include "LogCheck.h"
#include "NewFile.h"

#include "Connection.h"
#include "Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace datatool {

QString LogBackup::defaultTarget(const QString &logPath, const QString &folder, const QDate &day)
{
    const QFileInfo log(logPath);
    const QDir dir(folder.isEmpty() ? log.absolutePath() : folder);
    return NewFile::firstFree(
        dir.filePath(log.completeBaseName() + QLatin1Char('-') + day.toString(QStringLiteral("yyyy-MM-dd"))),
        QStringLiteral(".mdb"));
}

QString LogBackup::run(const QString &logPath, const QString &target)
{
    const logstore::Connection log(logPath);
    NewFile copy(target);
    const QString temporary = copy.temporaryPath();
    {
        // One read of the whole file in a single transaction: what the program commits meanwhile
        // is either wholly in the copy or not at all.
        QSqlQuery vacuum(log.database());
        if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
            throw log.failure(QStringLiteral("Das Log kann nicht gesichert werden."), vacuum.lastError());
        vacuum.addBindValue(temporary);
        if (!vacuum.exec())
            throw log.failure(QStringLiteral("Das Log kann nicht gesichert werden."), vacuum.lastError());
    }
    QString counts;
    {
        const logstore::Connection check(temporary);
        QStringList problems;
        const qint64 found =
            LogCheck::structure(check, [&problems](const QString &problem) { problems << problem; });
        if (found > 0)
            throw core::Failure(QStringLiteral("Die Sicherung hat die Prüfung nicht bestanden und wurde "
                                               "verworfen:\n%1")
                                    .arg(problems.join(QLatin1Char('\n'))));
        counts = LogCheck::entryCounts(check);
    }
    copy.commit();
    return QStringLiteral("Gesichert nach \"%1\" und geprüft: %2.").arg(copy.target(), counts);
}

} // namespace datatool

#include "DataTool.h"

#include "Desktop.h"
#include "LogBackup.h"
#include "LogCheck.h"
#include "LogExport.h"
#include "LogImport.h"
#ifndef TANKVERZEHR_WITHOUT_REPORT
#include "LogReport.h"
#endif

#include <Connection.h>
#include <Failure.h>

#include <QDate>
#include <QFileInfo>

namespace {

// Messages of the log store separate their lines with CR LF, as message boxes want them.
QString terminalText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

int DataTool::run(const CommandLine &line, const QString &programFolder, QTextStream &out, QTextStream &err)
{
    Result result;
    try {
        result = execute(line, line.logPath(programFolder), out);
    } catch (const core::Failure &failure) {
        result = Result{Failed, failure.message()};
    }
    const QString message = terminalText(result.message);
    if (!message.isEmpty())
        (result.code == Success ? out : err) << message << '\n';
    out.flush();
    err.flush();
    if (line.notify && !message.isEmpty())
        Desktop::notify(message, result.code != Success);
    return result.code;
}

DataTool::Result DataTool::execute(const CommandLine &line, const QString &logPath, QTextStream &out)
{
    switch (line.command) {
    case CommandLine::Command::Help:
        out << CommandLine::helpText();
        return {};
    case CommandLine::Command::Export: {
        const qint64 count = LogExport::run(logPath, line.vehicle, line.target, line.separator);
        if (line.target.isEmpty())
            return {};
        return {Success,
                QStringLiteral("%1 aus \"%2\" nach \"%3\" geschrieben.")
                    .arg(count == 1 ? QStringLiteral("1 Eintrag") : QStringLiteral("%1 Einträge").arg(count),
                         line.vehicle, line.target)};
    }
    case CommandLine::Command::Import: {
        LogImport::Options options{logPath,     line.vehicle, line.file,
                                   todayText(), line.dryRun,  line.allowDuplicates};
        return {Success, LogImport::describe(LogImport::run(options), options)};
    }
    case CommandLine::Command::Backup: {
        const bool intoFolder = !line.target.isEmpty() && QFileInfo(line.target).isDir();
        const QString target = line.target.isEmpty() || intoFolder
                                   ? LogBackup::defaultTarget(logPath, intoFolder ? line.target : QString(),
                                                              QDate::currentDate())
                                   : line.target;
        return {Success, LogBackup::run(logPath, target)};
    }
    case CommandLine::Command::Check:
        return check(logPath, out);
    case CommandLine::Command::Report: {
#ifdef TANKVERZEHR_WITHOUT_REPORT
        return {Failed, QStringLiteral("Diese Ausgabe von tankverzehr-daten kann keinen Bericht erstellen: "
                                       "ihr fehlt Qt Charts, mit dem der Bericht sein Diagramm zeichnet.")};
#else
        const QString target =
            line.target.isEmpty()
                ? LogReport::defaultTarget(line.vehicle, Desktop::documentsFolder(), QDate::currentDate())
                : line.target;
        const QString message = LogReport::run(logPath, line.vehicle, target, todayText());
        if (line.show)
            Desktop::open(QFileInfo(target).absoluteFilePath());
        return {Success, message};
#endif
    }
    }
    return {WrongUsage, QStringLiteral("Unbekannter Befehl.")};
}

DataTool::Result DataTool::check(const QString &logPath, QTextStream &out)
{
    const logstore::Connection connection(logPath);
    const auto print = [&out](const QString &problem) { out << terminalText(problem) << '\n'; };
    qint64 problems = LogCheck::structure(connection, print);
    problems += LogCheck::values(connection, todayText(), print);
    if (problems > 0) {
        // The count closes the list of problems on standard output.
        out << (problems == 1 ? QStringLiteral("1 Problem gefunden.")
                              : QStringLiteral("%1 Probleme gefunden.").arg(problems))
            << '\n';
        return {Failed, QString()};
    }
    return {Success,
            QStringLiteral("Keine Probleme gefunden: die Datei ist unbeschädigt, Tabellen, Felder und "
                           "Abfragen sind vollständig, alle Werte entsprechen den Regeln (%1).")
                .arg(LogCheck::entryCounts(connection))};
}

QString DataTool::todayText()
{
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

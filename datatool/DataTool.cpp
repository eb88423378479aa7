#include "DataTool.h"

#include "Desktop.h"
#include "LogBackup.h"
#include "LogCheck.h"
#include "LogExport.h"
#include "LogImport.h"
#ifndef TANKVERZEHR_WITHOUT_REPORT
#include "LogReport.h"
#endif
#include "OutputDevice.h"

#include "Connection.h"
#include "Failure.h"
#include "MessageText.h"
#include "ShortDate.h"

#include <QDate>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopeGuard>

namespace datatool {

namespace {

// The log store's messages separate their lines with CR LF; a terminal wants a plain line feed.
QString terminalText(const QString &text)
{
    return core::MessageText::lines(text).join(QLatin1Char('\n'));
}

} // namespace

int DataTool::run(const CommandLine &line, const QString &programFolder, OutputDevice &standardOutput,
                  QTextStream &err)
{
    QTextStream out(&standardOutput);
    Result result;
    try {
        result = execute(line, line.logPath(programFolder), out, standardOutput);
    } catch (const core::Failure &failure) {
        result = Result{Failed, failure.message()};
    }
    QString message = terminalText(result.message);
    if (result.code == Success && !message.isEmpty())
        out << message << '\n';
    out.flush();
    // What did not reach standard output is a failure like any other, told once.
    if (standardOutput.failure() != 0 && (result.code == Success || message.isEmpty())) {
        result.code = Failed;
        message = standardOutput.errorString();
    }
    if (result.code != Success && !message.isEmpty())
        err << message << '\n';
    err.flush();
    if (line.notify && !message.isEmpty())
        Desktop::notify(message, result.code != Success);
    return result.code;
}

DataTool::Result DataTool::execute(const CommandLine &line, const QString &logPath, QTextStream &out,
                                   OutputDevice &standardOutput)
{
    switch (line.command) {
    case CommandLine::Command::Help:
        out << CommandLine::helpText();
        return {};
    case CommandLine::Command::Export: {
        const qint64 count =
            LogExport::run(logPath, line.vehicle, line.target, line.separator, standardOutput);
        if (line.target.isEmpty())
            return {};
        return {Success, QStringLiteral("%1 aus \"%2\" nach \"%3\" geschrieben.")
                             .arg(core::MessageText::entries(count), line.vehicle, line.target)};
    }
    case CommandLine::Command::Import: {
        LogImport::Options options{
            logPath,     line.vehicle,         line.file,           QDate::currentDate(),
            line.dryRun, line.allowDuplicates, line.takeImplausible};
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
        return check(logPath, line.verbose, out);
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

DataTool::Result DataTool::check(const QString &logPath, bool verbose, QTextStream &out)
{
    // The check shows the engine's own words only when asked for, also on standard error.
    if (!verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("tankverzehr.engine.warning=false"));
    const auto engineTextBack = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
    const logstore::Connection connection(logPath);
    qint64 problems = 0;
    qint64 warnings = 0;
    const auto print = [&](LogCheck::Kind kind, const QString &line) {
        if (kind == LogCheck::Kind::Detail && !verbose)
            return;
        problems += kind == LogCheck::Kind::Problem ? 1 : 0;
        warnings += kind == LogCheck::Kind::Warning ? 1 : 0;
        out << terminalText(line) << '\n';
    };
    LogCheck::structure(connection, print);
    LogCheck::values(connection, todayText(), print);
    const QString warningCount =
        warnings == 1 ? QStringLiteral("1 Warnung") : QStringLiteral("%1 Warnungen").arg(warnings);
    if (problems > 0) {
        // The count closes the list of problems on standard output.
        out << (problems == 1 ? QStringLiteral("1 Problem gefunden")
                              : QStringLiteral("%1 Probleme gefunden").arg(problems))
            << (warnings > 0 ? QStringLiteral(", dazu %1.").arg(warningCount) : QStringLiteral(".")) << '\n';
        return {Failed, QString()};
    }
    QString message =
        QStringLiteral("Keine Probleme gefunden: die Datei ist unbeschädigt, Tabellen, Felder und "
                       "Abfragen sind vollständig, alle Werte entsprechen den Regeln (%1).")
            .arg(LogCheck::entryCounts(connection));
    if (warnings > 0)
        message += QStringLiteral("\n%1: unplausible Tankungen, die die Regeln des Programms zulassen.")
                       .arg(warningCount);
    return {Success, message};
}

QString DataTool::todayText()
{
    return core::ShortDate::text(QDate::currentDate());
}

} // namespace datatool

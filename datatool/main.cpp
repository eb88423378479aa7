// tankverzehr-daten: the program's companion for the log beside it (export, import, backup,
// check, report). The report paints with Qt Charts and widgets; a program of its own beside this
// one does that, so that the other commands start without loading those libraries.
#include "DataTool.h"
#include "Desktop.h"
#include "OutputDevice.h"
#include "ProgramStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTextStream>
#include <unistd.h>

using datatool::CommandLine;
using datatool::DataTool;
using datatool::Desktop;
using datatool::OutputDevice;
using datatool::ProgramStart;

namespace {

#ifdef TANKVERZEHR_REPORT_PROGRAM
// Runs the report program beside this one with the same arguments and the same terminal, and
// gives its exit code.
int handOverReport(const CommandLine &line, const QStringList &arguments, QTextStream &err)
{
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TANKVERZEHR_REPORT_PROGRAM));
    QProcess report;
    report.setProcessChannelMode(QProcess::ForwardedChannels);
    report.setInputChannelMode(QProcess::ForwardedInputChannel);
    report.start(program, arguments);
    QString message;
    if (!report.waitForStarted(-1))
        message = QStringLiteral("Der Bericht kann nicht erstellt werden: das Programm \"%1\", das ihn "
                                 "zeichnet, fehlt neben tankverzehr-daten oder lässt sich nicht starten.")
                      .arg(QDir::toNativeSeparators(program));
    else if (!report.waitForFinished(-1) || report.exitStatus() != QProcess::NormalExit)
        message = QStringLiteral("Der Bericht wurde nicht fertig: das Programm \"%1\", das ihn zeichnet, "
                                 "ist abgestürzt.")
                      .arg(QDir::toNativeSeparators(program));
    if (message.isEmpty())
        return report.exitCode();
    err << message << '\n';
    err.flush();
    if (line.notify)
        Desktop::notify(message, true);
    return DataTool::Failed;
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    const ProgramStart start(argc, argv, err);
    if (!start.line)
        return DataTool::WrongUsage;
    const CommandLine &line = *start.line;

    QCoreApplication app(argc, argv);
#ifdef TANKVERZEHR_REPORT_PROGRAM
    if (line.command == CommandLine::Command::Report)
        return handOverReport(line, start.arguments, err);
#endif
    OutputDevice standardOutput(STDOUT_FILENO, QStringLiteral("Die Standardausgabe"));
    return DataTool::run(line, QCoreApplication::applicationDirPath(), standardOutput, err);
}

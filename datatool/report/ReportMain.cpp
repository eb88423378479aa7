// tankverzehr-daten-bericht: paints the report for tankverzehr-daten, which runs it with its own
// arguments. It needs a GUI application for the chart, never a display.
#include "DataTool.h"
#include "OutputDevice.h"
#include "ProgramStart.h"

#include <QApplication>
#include <QTextStream>
#include <unistd.h>

using datatool::DataTool;
using datatool::OutputDevice;
using datatool::ProgramStart;

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    const ProgramStart start(argc, argv, err);
    if (!start.line)
        return DataTool::WrongUsage;

#ifndef Q_OS_WIN
    // Windows always has its desktop; elsewhere the report is painted without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    OutputDevice standardOutput(STDOUT_FILENO, QStringLiteral("Die Standardausgabe"));
    return DataTool::run(*start.line, QCoreApplication::applicationDirPath(), standardOutput, err);
}

// tankverzehr-daten: the program's companion for the log beside it (export, import, backup,
// check, report). Only the report needs a GUI application, to paint its chart; it never needs a
// display.
#include "CommandLine.h"
#include "DataTool.h"
#include "OutputDevice.h"

#include "Failure.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// Qt's own warnings are notes for developers, in English (such as a missing XDG_RUNTIME_DIR under
// the offscreen platform); the user reads only the tool's German messages.
void keepQtWarningsQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(keepQtWarningsQuiet);
    // A reader that went away before the end is a failed write, told and ended with exit code 1,
    // not a silent end by the signal.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    OutputDevice standardOutput(STDOUT_FILENO, QStringLiteral("Die Standardausgabe"));
    QTextStream err(stderr);
    CommandLine line;
    try {
        line = CommandLine::parse(arguments);
    } catch (const core::Failure &failure) {
        err << failure.message() << '\n';
        return DataTool::WrongUsage;
    }

    std::unique_ptr<QCoreApplication> app;
    if (line.command == CommandLine::Command::Report) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return DataTool::run(line, QCoreApplication::applicationDirPath(), standardOutput, err);
}

// tankverzehr-daten: the program's companion for the log beside it (export, import, backup,
// check, report). Only the report needs a GUI application, to paint its chart; it never needs a
// display.
#include "CommandLine.h"
#include "DataTool.h"
#include "OutputDevice.h"

#include "Connection.h"
#include "Failure.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QTextStream>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace {

// Qt's own warnings are notes for developers, in English (such as a missing XDG_RUNTIME_DIR under
// the offscreen platform); the user reads only the tool's German messages. The engine's text
// behind a failure goes to standard error all the same, for whoever looks into the fault.
void keepQtWarningsQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool engine =
        context.category && qstrcmp(context.category, logstore::engineText().categoryName()) == 0;
    if (engine || type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The arguments after the program's name. Windows hands argv over in the ANSI code page, which
// cannot spell every file name; its own command line is in UTF-16.
QStringList commandArguments(int argc, char *argv[])
{
    QStringList arguments;
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
#endif
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(keepQtWarningsQuiet);
#ifdef SIGPIPE
    // A reader that went away before the end is a failed write, told and ended with exit code 1,
    // not a silent end by the signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const QStringList arguments = commandArguments(argc, argv);
#ifdef Q_OS_WIN
    // Exports go to standard output byte for byte, their line ends included; and the console
    // shows the UTF-8 of the German texts as letters, until the tool ends.
    _setmode(STDOUT_FILENO, _O_BINARY);
    const UINT consolePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    const auto restorePage = qScopeGuard([consolePage] { SetConsoleOutputCP(consolePage); });
#endif

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
#ifndef Q_OS_WIN
        // Windows always has its desktop; elsewhere the report is painted without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return DataTool::run(line, QCoreApplication::applicationDirPath(), standardOutput, err);
}

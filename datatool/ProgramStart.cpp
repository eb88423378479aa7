#include "ProgramStart.h"

#include "Failure.h"

#include <QTextStream>
#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

// Qt's own warnings are notes for developers, in English (such as a missing XDG_RUNTIME_DIR under
// the offscreen platform); the user reads only the tool's German messages.
void keepQtWarningsQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

ProgramStart::ProgramStart(int argc, char *argv[], QTextStream &err)
{
    qInstallMessageHandler(keepQtWarningsQuiet);
#ifdef SIGPIPE
    // A reader that went away before the end is a failed write, told and ended with exit code 1,
    // not a silent end by the signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef Q_OS_WIN
    // Windows hands argv over in the ANSI code page, which cannot spell every file name; its own
    // command line is in UTF-16.
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
    try {
        line = CommandLine::parse(arguments);
    } catch (const core::Failure &failure) {
        err << failure.message() << '\n';
        err.flush();
    }
}

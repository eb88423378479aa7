#include "ProgramStart.h"

#include "Connection.h"
#include "Failure.h"

#include <QTextStream>
#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace datatool {

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
    // Exports go to standard output byte for byte, their line ends included; and the console
    // shows the UTF-8 of the German texts as letters, until the tool ends.
    _setmode(_fileno(stdout), _O_BINARY);
    m_consolePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
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

ProgramStart::~ProgramStart()
{
#ifdef Q_OS_WIN
    SetConsoleOutputCP(m_consolePage);
#endif
}

} // namespace datatool

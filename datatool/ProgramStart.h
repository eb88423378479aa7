// What both programs of the data tool do before their command runs: Qt's notes kept off the
// terminal (the engine's own text excepted), a vanished reader turned into a failed write, on
// Windows standard output made binary and the console set to UTF-8, and the command line read.
#pragma once

#include "CommandLine.h"

#include <QStringList>
#include <optional>

class QTextStream;

namespace datatool {

class ProgramStart {
public:
    // Reads the command line; tells err what is wrong with it, if anything.
    ProgramStart(int argc, char *argv[], QTextStream &err);
    // Gives the console back the code page it had.
    ~ProgramStart();
    ProgramStart(const ProgramStart &) = delete;
    ProgramStart &operator=(const ProgramStart &) = delete;

    QStringList arguments;           // after the program's name
    std::optional<CommandLine> line; // nothing when the command line is wrong

private:
    unsigned m_consolePage = 0; // the console's code page before the start, on Windows
};

} // namespace datatool

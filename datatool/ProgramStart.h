// What both programs of the data tool do before their command runs: Qt's notes kept off the
// terminal, a vanished reader turned into a failed write, and the command line read.
#pragma once

#include "CommandLine.h"

#include <QStringList>
#include <optional>

class QTextStream;

class ProgramStart {
public:
    // Reads the command line; tells err what is wrong with it, if anything.
    ProgramStart(int argc, char *argv[], QTextStream &err);

    QStringList arguments;           // after the program's name
    std::optional<CommandLine> line; // nothing when the command line is wrong
};

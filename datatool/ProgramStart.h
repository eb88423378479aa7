// What both programs of the data tool do before their command runs: Qt's notes kept off the
// terminal, a vanished reader turned into a failed write, and the command line read.
#pragma once

#include "CommandLine.h"

#include <QStringList>
#include <optional>

class QTextStream;

class ProgramStart {
public:
    // The arguments after the program's name, ready for CommandLine::parse.
    static QStringList prepare(int argc, char *argv[]);

    // The parsed command line; nothing after telling err what is wrong with it.
    static std::optional<CommandLine> parse(const QStringList &arguments, QTextStream &err);
};

// Runs the built tankverzehr-daten as a user would.
#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class DataToolProcess {
public:
    struct Result {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // Where the tool's standard output goes: read by the test, a full device, or a pipe whose
    // reader is gone.
    enum class Output { Captured, FullDevice, ClosedPipe };

    // The built tankverzehr-daten, beside its report program.
    static QString builtProgram();

    static Result run(const QStringList &arguments,
                      const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                      Output output = Output::Captured, const QString &program = builtProgram());

    // The bytes of a test file of tests/datatool/dateien, such as "libreoffice/export.csv".
    static QByteArray testFile(const QString &name);
};

#include "DataToolProcess.h"

#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

QString DataToolProcess::builtProgram()
{
    return QStringLiteral(DATATOOL_PATH);
}

DataToolProcess::Result DataToolProcess::run(const QStringList &arguments,
                                             const QProcessEnvironment &environment, Output output,
                                             const QString &program)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (output == Output::FullDevice)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    int pipe[2] = {-1, -1};
    if (output == Output::ClosedPipe) {
        // A pipe whose reading end is closed before the tool starts: every write meets EPIPE.
        if (::pipe2(pipe, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot make a pipe");
        ::close(pipe[0]);
        const int writing = pipe[1];
        process.setChildProcessModifier([writing] { ::dup2(writing, STDOUT_FILENO); });
    }
    process.start(program, arguments);
    if (pipe[1] >= 0)
        ::close(pipe[1]);
    Result result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QByteArray DataToolProcess::testFile(const QString &name)
{
    QFile file(QStringLiteral(DATATOOL_TEST_FILES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read test file");
    return file.readAll();
}

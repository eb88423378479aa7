// Build step: makes an empty log database from the schema unless one is already there.
// Usage: createlog <schema.sql> <Verbrauch.mdb>
// An existing file is left exactly as it is, so rebuilding never touches a user's log.
#include "LogFileMaker.h"

#include "Failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: createlog <schema.sql> <database file>\n";
        return 2;
    }
    const QString target = args.at(2);
    if (QFileInfo::exists(target)) {
        QTextStream(stdout) << "createlog: " << target << " exists, left untouched\n";
        return 0;
    }
    QFile schema(args.at(1));
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "createlog: cannot read " << args.at(1) << "\n";
        return 1;
    }
    try {
        LogFileMaker::create(target, QString::fromUtf8(schema.readAll()));
    } catch (const core::Failure &failure) {
        err << "createlog: " << failure.message() << "\n";
        return 1;
    }
    QTextStream(stdout) << "createlog: created " << target << "\n";
    return 0;
}

// For scripts/check-power-cut.sh: one write to the log the way a window of the program does it,
// through the same classes, and "gespeichert" on standard output once the write is reported done
// (the calculator and the editor report it by closing their window).
//
//   powercut-driver aufzeichnen LOG KM   the calculator records a fill-up of KM kilometres
//   powercut-driver speichern LOG KM     the editor stores KM kilometres into the last entry
//   powercut-driver loeschen LOG         the editor deletes the last entry
#include "DataControl.h"
#include "Database.h"
#include "Failure.h"
#include "LogNames.h"
#include "RowAppender.h"

#include <QCoreApplication>
#include <QMap>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() < 2)
        return 2;
    const QString &command = arguments.at(0);
    const QString &log = arguments.at(1);
    const QString kilometres = arguments.value(2);
    using core::LogNames;
    try {
        if (command == u"aufzeichnen") {
            logstore::Database database = logstore::Database::open(log);
            logstore::RowAppender entries = database.openAppender(QStringLiteral("Auto"));
            entries.addNew();
            entries.setField(LogNames::date(), QStringLiteral("01.01.2024"));
            entries.setField(LogNames::kilometres(), kilometres);
            entries.setField(LogNames::litres(), QStringLiteral("7"));
            entries.setField(LogNames::consumption(), QStringLiteral("7"));
            entries.update();
        } else {
            logstore::DataControl control;
            control.setDatabaseName(log);
            control.setRecordSource(QStringLiteral("Auto"));
            control.refresh();
            control.moveLast();
            if (command == u"speichern") {
                control.edit();
                control.update({{LogNames::kilometres(), kilometres}});
            } else {
                control.deleteCurrent();
            }
        }
    } catch (const core::Failure &failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    std::printf("gespeichert\n");
    std::fflush(stdout);
    return 0;
}

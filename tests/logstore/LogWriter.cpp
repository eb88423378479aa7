// Helper process for the tests: records entries into a log one after another, each as the
// program records one (open, append, store, let go), and prints "ok <km>" after each stored one.
// Usage: logstore_writer <database> <table> <count, -1 for endless> <first km>
#include <Database.h>
#include <Failure.h>

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const QString path = args.at(1);
    const QString table = args.at(2);
    const long long count = args.at(3).toLongLong();
    const long long first = args.at(4).toLongLong();
    for (long long i = 0; count < 0 || i < count; ++i) {
        const QString km = QString::number(first + i);
        try {
            logstore::Database db = logstore::Database::open(path);
            logstore::Recordset records = db.openRecordset(table);
            records.addNew();
            records.setField(QStringLiteral("Datum"), QStringLiteral("02.02.2024"));
            records.setField(QStringLiteral("Gefahrene Kilometer"), km);
            records.setField(QStringLiteral("Getankte Liter"), QStringLiteral("1,5"));
            records.setField(QStringLiteral("Verbrauch auf 100 km in Liter"), QStringLiteral("7,5"));
            records.update();
        } catch (const toolkit::Failure &failure) {
            std::printf("fail %s\n", failure.what());
            std::fflush(stdout);
            return 1;
        }
        std::printf("ok %s\n", km.toUtf8().constData());
        std::fflush(stdout);
    }
    return 0;
}

// The floor for any Qt Widgets program with a database: opens an SQLite file beside itself,
// reads from it once, and shows one label in a window. The start-up benchmark compares the
// program against this.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bare.sqlite")));
    QString text = QStringLiteral("Keine Datenbank");
    if (database.open()) {
        QSqlQuery query(QStringLiteral("SELECT count(*) FROM sqlite_master"), database);
        if (query.next())
            text = QStringLiteral("Tabellen: %1").arg(query.value(0).toInt());
    }

    QLabel label(text);
    label.setWindowTitle(QStringLiteral("bare_qt"));
    label.resize(330, 294);
    label.show();
    return app.exec();
}

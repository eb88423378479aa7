#include "Connection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>

namespace logstore {

namespace {

QAtomicInt connectionCounter;
int busyTimeoutMs = 5000;

// SQLite's primary result codes that the user can do something about.
constexpr int sqliteBusy = 5;
constexpr int sqliteLocked = 6;
constexpr int sqliteReadOnly = 8;
constexpr int sqliteIoError = 10;
constexpr int sqliteCorrupt = 11;
constexpr int sqliteFull = 13;
constexpr int sqliteCantOpen = 14;
constexpr int sqliteNotADatabase = 26;

QString reasonText(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    switch (ok ? code : -1) {
    case sqliteBusy:
    case sqliteLocked:
        return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    case sqliteReadOnly:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case sqliteFull:
        return QStringLiteral("Der Datenträger ist voll.");
    case sqliteCorrupt:
    case sqliteNotADatabase:
        return QStringLiteral("Die Datei ist keine gültige Datenbank oder sie ist beschädigt.");
    case sqliteCantOpen:
        return QStringLiteral("Die Datei lässt sich nicht öffnen.");
    case sqliteIoError:
        return QStringLiteral("Beim Lesen oder Schreiben der Datei ist ein Fehler aufgetreten.");
    default:
        return QStringLiteral("Die Datenbank meldet: %1").arg(error.text());
    }
}

} // namespace

Connection::Connection(const QString &path)
    : m_path(path), m_name(QStringLiteral("logstore-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw toolkit::Failure(
            QStringLiteral(
                "Die Datenbank \"%1\" wurde nicht gefunden.\r\nDie Datei muss im Programmverzeichnis "
                "liegen; sie wird nicht neu angelegt.")
                .arg(path));
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        // mode=rw: open for reading and writing, never create the file.
        db.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        if (!db.open())
            throw failure(QStringLiteral("Die Datenbank kann nicht geöffnet werden."), db.lastError());
        // Opening alone does not read the file; this does, and tells a text file or a damaged one.
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("SELECT count(*) FROM sqlite_schema")))
            throw failure(QStringLiteral("Die Datenbank kann nicht geöffnet werden."), check.lastError());
    } catch (...) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        throw;
    }
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

void Connection::requireTable(const QString &name) const
{
    requireObject(QStringLiteral("table"), name, QStringLiteral("Tabelle"));
}

void Connection::requireView(const QString &name) const
{
    requireObject(QStringLiteral("view"), name, QStringLiteral("Abfrage"));
}

void Connection::requireObject(const QString &type, const QString &name, const QString &kind) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type = ? AND name = ?")))
        throw failure(QStringLiteral("Die %1 \"%2\" kann nicht geöffnet werden.").arg(kind, name),
                      query.lastError());
    query.addBindValue(type);
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        throw failure(QStringLiteral("Die %1 \"%2\" kann nicht geöffnet werden.").arg(kind, name),
                      query.lastError());
    const bool found = query.value(0).toInt() > 0;
    query.finish();
    if (!found)
        throw toolkit::Failure(
            QStringLiteral("Die %1 \"%2\" gibt es in der Datenbank \"%3\" nicht.").arg(kind, name, m_path));
}

void Connection::write(const QString &what, const std::function<void(QSqlDatabase &)> &body) const
{
    QSqlDatabase db = database();
    {
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw failure(what, begin.lastError());
    }
    const auto rollback = [&db] {
        QSqlQuery undo(db);
        undo.exec(QStringLiteral("ROLLBACK"));
    };
    try {
        body(db);
    } catch (...) {
        rollback();
        throw;
    }
    QSqlQuery commit(db);
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = commit.lastError();
        commit.finish();
        rollback();
        throw failure(what, error);
    }
}

toolkit::Failure Connection::failure(const QString &what, const QSqlError &error) const
{
    return toolkit::Failure(QStringLiteral("%1\r\nDatei: %2\r\n%3").arg(what, m_path, reasonText(error)));
}

void Connection::setBusyTimeout(int milliseconds)
{
    busyTimeoutMs = milliseconds;
}

int Connection::busyTimeout()
{
    return busyTimeoutMs;
}

} // namespace logstore

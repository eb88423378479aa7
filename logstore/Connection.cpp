#include "Connection.h"

#include "LogNames.h"
#include "WriteSteps.h"

#include "SystemError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

namespace logstore {

Q_LOGGING_CATEGORY(engineText, "tankverzehr.engine")

namespace {

QAtomicInt connectionCounter;
int busyTimeoutMs = 5000;

void reportEngineText(const QSqlError &error)
{
    qCWarning(engineText).noquote() << "Tankverzehr: the database engine reports:" << error.nativeErrorCode()
                                    << error.text();
}

// The German reason for an engine result; systemError is the system's error number behind it,
// 0 when there is none. The engine's own text is English; it goes to the standard error stream
// for whoever looks into a fault, never to the user.
QString reasonText(const QSqlError &error, const QString &path, int systemError)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString journal = QFileInfo(path).fileName() + QStringLiteral("-journal");
    if (ok && code == SQLITE_READONLY_DIRECTORY)
        return QStringLiteral("Im Ordner \"%1\" lässt sich die Hilfsdatei \"%2\" nicht anlegen, die jedes "
                              "Speichern braucht; der Ordner ist schreibgeschützt.")
            .arg(QFileInfo(path).absolutePath(), journal);
    if (ok && code == SQLITE_READONLY_ROLLBACK)
        return QStringLiteral("Die Hilfsdatei \"%1\" eines abgebrochenen Speicherns lässt sich nicht "
                              "zurückspielen, weil die Datei schreibgeschützt ist.")
            .arg(journal);
    if (ok && systemError != 0 && ((code & 0xff) == SQLITE_IOERR || (code & 0xff) == SQLITE_CANTOPEN)) {
        reportEngineText(error);
        return core::SystemError::reason(systemError);
    }
    switch (ok ? code & 0xff : -1) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    case SQLITE_READONLY:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case SQLITE_PERM:
        return QStringLiteral("Der Zugriff auf die Datei ist nicht erlaubt.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_NOMEM:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datei ist keine gültige Datenbank oder sie ist beschädigt.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Datei lässt sich nicht öffnen.");
    case SQLITE_IOERR:
        return QStringLiteral("Beim Lesen oder Schreiben der Datei ist ein Fehler aufgetreten.");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("Ein Wert verletzt eine Regel der Tabelle.");
    default:
        reportEngineText(error);
        return ok ? QStringLiteral("Die Datenbank meldet einen Fehler (Code %1).").arg(code)
                  : QStringLiteral("Die Datenbank meldet einen Fehler.");
    }
}

// How a column of a log keeps the numbers the program writes, by its declared type (upper case):
// whether it keeps them as numbers at all, and whether it may hold texts besides, so that its
// values must be looked at. A STRICT table holds what its types say; any other table holds
// whatever was put in, and a column with text affinity (by the engine's rules, in which INT
// comes first) turns numbers into texts.
struct NumberColumn {
    bool fits;
    bool mayHoldText;
};

NumberColumn numberColumn(const QString &type, bool strict)
{
    if (strict)
        return {type == u"INT" || type == u"INTEGER" || type == u"REAL" || type == u"ANY", type == u"ANY"};
    const bool textAffinity = !type.contains(u"INT") &&
                              (type.contains(u"CHAR") || type.contains(u"CLOB") || type.contains(u"TEXT"));
    return {!textAffinity, true};
}

// Whether a column keeps the date texts: in a STRICT table only a TEXT or ANY column does.
bool takesText(const QString &type, bool strict)
{
    return !strict || type == u"TEXT" || type == u"ANY";
}

} // namespace

Connection::Connection(const QString &path)
    : m_path(path), m_name(QStringLiteral("logstore-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    m_busyWait.timeoutMs = busyTimeoutMs;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw core::Failure(
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
        // The wait for a locked file (waitWhileBusy) goes in only when Qt's driver runs the engine
        // version this program is built against (a Qt may bring a copy of its own); otherwise the
        // engine's busy timeout stays in place.
        QSqlQuery check(db);
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") == 0 &&
            check.exec(QStringLiteral("SELECT sqlite_version()")) && check.next() &&
            check.value(0).toString() == QLatin1String(sqlite3_libversion())) {
            m_engine = *static_cast<sqlite3 *const *>(handle.constData());
            sqlite3_busy_handler(m_engine, waitWhileBusy, &m_busyWait);
        }
        check.finish();
        // Opening alone does not read the file; this does, and tells a text file or a damaged one.
        if (!check.exec(QStringLiteral("SELECT count(*) FROM sqlite_schema")))
            throw failure(QStringLiteral("Die Datenbank kann nicht geöffnet werden."), check.lastError());
        check.finish();
        // Every commit waits until the disk holds the row, so a stored row survives a crash or a
        // power cut; this is set here rather than left to how the engine was built. With the
        // rollback journal, deleting the journal is the commit: EXTRA syncs the folder after it,
        // or a power cut brings the journal back and the next opening undoes the stored row.
        if (!check.exec(QStringLiteral("PRAGMA synchronous = EXTRA")))
            throw failure(QStringLiteral("Die Datenbank kann nicht geöffnet werden."), check.lastError());
        // The rollback journal works on network shares, where the shared memory of a write-ahead
        // log does not, and leaves no file beside the log once a write is done. A file that
        // another program keeps in write-ahead mode cannot be switched back while that program
        // has it open; it is then used as it is.
        check.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
        check.finish();
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
    const QString cannotOpen = QStringLiteral("Die Tabelle \"%1\" kann nicht geöffnet werden.").arg(name);
    QSqlQuery query(database());
    query.setForwardOnly(true);
    const auto run = [&](const QString &sql, const QVariantList &values) {
        if (!query.prepare(sql))
            throw failure(cannotOpen, query.lastError());
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec())
            throw failure(cannotOpen, query.lastError());
    };

    run(QStringLiteral("SELECT strict FROM pragma_table_list WHERE schema = 'main' AND type = 'table' "
                       "AND name = ?"),
        {name});
    if (!query.next()) {
        if (query.lastError().isValid())
            throw failure(cannotOpen, query.lastError());
        throw core::Failure(
            QStringLiteral("Die Tabelle \"%1\" gibt es in der Datenbank \"%2\" nicht.").arg(name, m_path));
    }
    const bool strict = query.value(0).toBool();
    query.finish();

    // An unknown name in double quotes would be read as a text, so every field must be there.
    QHash<QString, QString> declared; // by the name in lower case, as the engine compares names
    run(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {name});
    while (query.next())
        declared.insert(query.value(0).toString().toLower(), query.value(1).toString().toUpper());
    if (query.lastError().isValid())
        throw failure(cannotOpen, query.lastError());
    query.finish();

    const auto notFor = [&](const QString &field, const QString &values) {
        return core::Failure(
            QStringLiteral(
                "Das Feld \"%1\" der Tabelle \"%2\" in der Datenbank \"%3\" ist nicht für %4 angelegt.")
                .arg(field, name, m_path, values));
    };
    QStringList toScan;
    for (const QString &field : core::LogNames::fields()) {
        const auto type = declared.constFind(field.toLower());
        if (type == declared.constEnd())
            throw core::Failure(
                QStringLiteral("Die Tabelle \"%1\" in der Datenbank \"%2\" hat kein Feld \"%3\".")
                    .arg(name, m_path, field));
        if (field == core::LogNames::fields().first()) {
            if (!takesText(*type, strict))
                throw notFor(field, QStringLiteral("Text"));
            continue;
        }
        const NumberColumn column = numberColumn(*type, strict);
        if (!column.fits)
            throw notFor(field, QStringLiteral("Zahlen"));
        if (column.mayHoldText)
            toScan << field;
    }
    if (toScan.isEmpty())
        return;

    // Only a column that may hold anything needs its values looked at: one pass over the table.
    QStringList checks;
    for (const QString &field : toScan)
        checks << QStringLiteral("max(typeof(%1) IN ('text', 'blob'))").arg(core::LogNames::quoted(field));
    run(QStringLiteral("SELECT %1 FROM %2")
            .arg(checks.join(QStringLiteral(", ")), core::LogNames::quoted(name)),
        {});
    if (!query.next())
        throw failure(cannotOpen, query.lastError());
    for (int i = 0; i < toScan.size(); ++i) {
        if (query.value(i).toInt() != 0)
            throw core::Failure(QStringLiteral("Das Feld \"%1\" der Tabelle \"%2\" in der Datenbank \"%3\" "
                                               "enthält Werte, die keine Zahlen sind.")
                                    .arg(toScan.at(i), name, m_path));
    }
}

void Connection::requireView(const QString &name) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'view' AND name = ?")))
        throw failure(QStringLiteral("Die Abfrage \"%1\" kann nicht geöffnet werden.").arg(name),
                      query.lastError());
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        throw failure(QStringLiteral("Die Abfrage \"%1\" kann nicht geöffnet werden.").arg(name),
                      query.lastError());
    const bool found = query.value(0).toInt() > 0;
    query.finish();
    if (!found)
        throw core::Failure(
            QStringLiteral("Die Abfrage \"%1\" gibt es in der Datenbank \"%2\" nicht.").arg(name, m_path));
}

void Connection::write(const QString &what, const std::function<void(QSqlDatabase &)> &body) const
{
    QSqlDatabase db = database();
    WriteSteps::reach(WriteSteps::Step::Begin);
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
        WriteSteps::reach(WriteSteps::Step::Commit);
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
    // From here on the change is in the file: nothing may report the write as failed.
    WriteSteps::reach(WriteSteps::Step::AfterCommit);
}

// The engine's own wait for a locked file sleeps up to 100 ms between its tries, while a program
// that records one row after another holds the file again within a millisecond of letting it
// go; an opening waiting that way can lose the race for longer than its whole timeout. Trying
// again every millisecond takes the file in one of the short gaps.
int Connection::waitWhileBusy(void *wait, int tries)
{
    auto *busy = static_cast<BusyWait *>(wait);
    if (tries == 0)
        busy->since.start();
    if (busy->since.elapsed() >= busy->timeoutMs)
        return 0;
    sqlite3_sleep(1);
    return 1;
}

qint64 Connection::writeRow(const QString &what, const QString &sql, const QVariantList &values) const
{
    qint64 id = -1;
    write(what, [&](QSqlDatabase &db) {
        QSqlQuery statement(db);
        if (!statement.prepare(sql))
            throw failure(what, statement.lastError());
        for (const QVariant &value : values)
            statement.addBindValue(value);
        WriteSteps::reach(WriteSteps::Step::Statement);
        if (!statement.exec())
            throw failure(what, statement.lastError());
        if (statement.numRowsAffected() != 1)
            throw core::Failure(what + QStringLiteral("\r\nDer Eintrag wurde inzwischen gelöscht."));
        id = statement.lastInsertId().toLongLong();
    });
    return id;
}

core::Failure Connection::failure(const QString &what, int engineCode) const
{
    // The connection's own message names the cause ("no such column: rowid"); the code's general
    // text is all there is when the connection has none.
    const bool ownMessage = m_engine && (sqlite3_errcode(m_engine) & 0xff) == (engineCode & 0xff);
    const char *text = ownMessage ? sqlite3_errmsg(m_engine) : sqlite3_errstr(engineCode);
    return failure(what, QSqlError(QString(), QString::fromUtf8(text), QSqlError::StatementError,
                                   QString::number(engineCode)));
}

core::Failure Connection::failure(const QString &what, const QSqlError &error) const
{
    const int systemError = m_engine ? sqlite3_system_errno(m_engine) : 0;
    return core::Failure(
        QStringLiteral("%1\r\nDatei: %2\r\n%3").arg(what, m_path, reasonText(error, m_path, systemError)));
}

void Connection::setBusyTimeout(int milliseconds)
{
    busyTimeoutMs = milliseconds;
}

} // namespace logstore

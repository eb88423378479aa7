// One opening of the log database file on a connection of its own. The file is opened for
// reading and writing but never created: a missing file is a failure, not a new empty log.
// Every opening commits through the rollback journal and syncs the file and its folder before
// a commit returns. Every write runs in its own immediate transaction. A file that another
// opening (in this process or another) holds locked is waited for, up to the busy timeout at
// each step; only a lock held longer than that makes an opening, a read or a write fail, with a
// message saying the file is locked, and a write that fails has stored nothing.
#pragma once

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <functional>

#include "Failure.h"

struct sqlite3;

namespace logstore {

// The engine's own English text behind a failure, written as a warning of this category
// ("tankverzehr.engine"): it goes to the standard error stream for whoever looks into a fault,
// never to the user, who reads the German reason.
Q_DECLARE_LOGGING_CATEGORY(engineText)

class Connection {
public:
    // Throws core::Failure naming the file: missing, not openable, not a database.
    explicit Connection(const QString &path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_path; }
    QSqlDatabase database() const;

    // Throws when the file has no table of that name, or when the table does not fit a vehicle
    // log: a field missing, a field whose type does not keep what the program writes, or a
    // number field holding texts (looked at only where the table's types allow texts, so a log
    // made by this program costs no pass over its rows). The name comes from LogNames.
    void requireTable(const QString &name) const;
    // Throws when the file has no view of that name.
    void requireView(const QString &name) const;

    // Runs body between BEGIN IMMEDIATE and COMMIT; on any failure rolls back and throws. Once
    // the COMMIT has succeeded it returns normally, whatever happens to the file afterwards.
    void write(const QString &what, const std::function<void(QSqlDatabase &)> &body) const;

    // One statement that changes exactly one row, its values bound, in a write of its own;
    // returns the row's id when it inserted one. Throws, having stored nothing, when the engine
    // refuses it or when it changed no row (the row was deleted meanwhile).
    qint64 writeRow(const QString &what, const QString &sql, const QVariantList &values) const;

    // The engine behind Qt's driver when it is the one this program is built against, for the
    // data tool's bulk reads and writes, where Qt's query layer costs more than the engine;
    // nullptr otherwise.
    sqlite3 *engine() const { return m_engine; }

    // A German failure: what went wrong, the file, and the reason the engine gave.
    core::Failure failure(const QString &what, const QSqlError &error) const;
    // The same for a result code of a call straight to the engine.
    core::Failure failure(const QString &what, int engineCode) const;

    // How long a write waits for a file that another opening holds locked.
    static void setBusyTimeout(int milliseconds);

private:
    // The wait of this opening for a locked file: since when, and for how long at most.
    struct BusyWait {
        QElapsedTimer since;
        int timeoutMs = 0;
    };
    // The engine calls this while the file is locked; it tells whether to try again.
    static int waitWhileBusy(void *wait, int tries);

    QString m_path;
    QString m_name;
    BusyWait m_busyWait;
    // The engine behind Qt's driver, when it is the one this program is built against.
    sqlite3 *m_engine = nullptr;
};

} // namespace logstore

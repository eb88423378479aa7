// One opening of the log database file on a connection of its own. The file is opened for
// reading and writing but never created: a missing file is a failure, not a new empty log.
// Every write runs in its own immediate transaction, and a busy file is waited for (busy
// timeout) so that several openings in this and other processes never make a write fail.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <functional>

#include <Failure.h>

namespace logstore {

class Connection {
public:
    // Throws toolkit::Failure naming the file: missing, not openable, not a database.
    explicit Connection(const QString &path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_path; }
    QSqlDatabase database() const;

    // Throws when the file has no table (or view) of that name; the name comes from LogNames.
    void requireTable(const QString &name) const;
    void requireView(const QString &name) const;

    // Runs body between BEGIN IMMEDIATE and COMMIT; on any failure rolls back and throws.
    void write(const QString &what, const std::function<void(QSqlDatabase &)> &body) const;

    // A German failure: what went wrong, the file, and the reason the engine gave.
    toolkit::Failure failure(const QString &what, const QSqlError &error) const;

    // How long a write waits for a file that another opening holds locked.
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

private:
    void requireObject(const QString &type, const QString &name, const QString &kind) const;

    QString m_path;
    QString m_name;
};

} // namespace logstore

// An opening of the log database, shared with every other opening of the same file in this
// and other processes. The file is let go when the Database and every RowAppender opened
// through it are gone.
#pragma once

#include "RowAppender.h"

#include <QString>
#include <memory>

namespace logstore {

class Connection;

class Database {
public:
    // Throws core::Failure naming the file when it is missing (it is never created), cannot
    // be opened, or is not a database.
    static Database open(const QString &path);

    Database(Database &&other) noexcept;
    Database &operator=(Database &&other) noexcept;
    ~Database();

    // An appender of new entries to a vehicle log; throws when the name is not one of the logs
    // or the file lacks that table.
    RowAppender openAppender(const QString &table);

    // How long a write waits for a file held locked elsewhere (5000 ms unless changed); applies
    // to openings made afterwards, those of the data controls included.
    static void setBusyTimeout(int milliseconds);

private:
    explicit Database(std::shared_ptr<Connection> connection);

    std::shared_ptr<Connection> m_connection;
};

} // namespace logstore

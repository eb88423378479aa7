// Appends entries to one vehicle log, as the calculator records a fill-up: begin a row, set its
// fields by name, store it. The row is stored whole in one transaction or not at all; a row
// begun and never stored is dropped with the appender. It reads nothing; reading is the row
// cache's part.
#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <memory>

namespace logstore {

class Connection;

class RowAppender {
public:
    RowAppender(RowAppender &&other) noexcept;
    RowAppender &operator=(RowAppender &&other) noexcept;
    ~RowAppender();

    void addNew();
    // Converts the text to the field's type at once; throws core::Failure for an unknown field,
    // a text the field refuses, or when no row has been begun.
    void setField(const QString &field, const QString &text);
    // Stores the begun row; throws core::Failure, and then nothing is stored. Once the row is
    // committed nothing can make it throw, so a stored row is never reported as failed.
    void update();

private:
    friend class Database;
    RowAppender(std::shared_ptr<Connection> connection, const QString &table);

    std::shared_ptr<Connection> m_connection;
    QString m_table;
    bool m_adding = false;
    std::array<QVariant, 4> m_values;
};

} // namespace logstore

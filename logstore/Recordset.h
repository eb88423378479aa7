// An updatable record set over one vehicle log, for appending entries: begin a row, set its
// fields by name, store it. The row is stored whole in one transaction or not at all; a row
// begun and never stored is dropped with the record set.
#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <memory>

namespace logstore {

class Connection;

class Recordset {
public:
    Recordset(Recordset &&other) noexcept;
    Recordset &operator=(Recordset &&other) noexcept;
    ~Recordset();

    void addNew();
    // Converts the text to the field's type at once; throws toolkit::Failure for an unknown
    // field, a text the field refuses, or when no row has been begun.
    void setField(const QString &field, const QString &text);
    // Stores the begun row; throws toolkit::Failure, and then nothing is stored. Nothing after
    // the commit can make it throw. The current row stays as it was.
    void update();
    // Drops a begun row.
    void cancelUpdate();

    // The row last stored through this record set; -1 before the first.
    qint64 lastModified() const { return m_lastModified; }
    // The current row; -1 when the log was empty on opening and nothing was chosen since.
    qint64 bookmark() const { return m_bookmark; }
    // Throws toolkit::Failure when the log has no such row. The row last stored through this
    // record set is taken without reading the file: it was there at its commit, and a recording
    // that has stored its row must not fail afterwards.
    void setBookmark(qint64 bookmark);

    // A field of the current row as text (numbers as number texts, NULL as ""); throws when
    // there is no current row.
    QString field(const QString &name) const;

    const QString &table() const { return m_table; }

private:
    friend class Database;
    Recordset(std::shared_ptr<Connection> connection, const QString &table);

    std::shared_ptr<Connection> m_connection;
    QString m_table;
    bool m_adding = false;
    std::array<QVariant, 4> m_values;
    qint64 m_lastModified = -1;
    qint64 m_bookmark = -1;
};

} // namespace logstore

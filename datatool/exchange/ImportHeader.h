// The first line of a file to import: it must name each of the log's four fields exactly once, in
// any order and any case. Other columns are left out: named ones are reported by name, a column
// without a heading only when a row holds something in it (spreadsheets end every line with a
// separator after a note column without heading). Tells for each field which column holds it.
#pragma once

#include <QStringList>
#include <array>

namespace datatool {

class ImportHeader {
public:
    // Throws core::Failure naming the missing or doubled field.
    explicit ImportHeader(const QStringList &names);

    qsizetype columns() const { return m_names.size(); }

    // The fields of a data row in the order of the log's fields; notes which left-out columns
    // hold something. Throws core::Failure when the row lacks one of the log's fields or holds
    // more columns than the header names, with something in them.
    // Valid until the next call.
    const QStringList &inLogOrder(qint64 line, const QStringList &row);

    // The columns that were left out, for the summary: "»Preis«", "6 (ohne Überschrift)".
    QStringList leftOut() const;

private:
    std::array<qsizetype, 4> m_columnOf{};
    QStringList m_names;
    QList<qsizetype> m_leftOut; // the columns that hold none of the log's fields
    QList<bool> m_used;         // a column left out that held something
    QStringList m_ordered;      // the last row in the order of the log's fields, kept for its room
};

} // namespace datatool

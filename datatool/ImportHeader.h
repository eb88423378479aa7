// The first line of a file to import: it must name each of the log's four fields exactly once,
// in any order, and nothing else. Tells for each field which column holds it.
#pragma once

#include <QStringList>
#include <array>

class ImportHeader {
public:
    // Throws core::Failure naming the missing, doubled or unknown field.
    explicit ImportHeader(const QStringList &names);

    qsizetype columns() const { return m_columns; }

    // The fields of a data row in the order of the log's fields.
    QStringList inLogOrder(const QStringList &row) const;

private:
    std::array<qsizetype, 4> m_columnOf{};
    qsizetype m_columns = 0;
};

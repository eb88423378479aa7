// The rows of one record source as the data control reads them after a refresh, cached for
// reading; it writes nothing (the data control writes, and tells it what changed). For a vehicle
// log only the row identities (rowids, in stored order) are held; field values are read per
// row, by rowid, with short statements that finish at once, so no read lock stays behind and
// memory grows with eight bytes a row. A summary view is one small row and is read whole.
#pragma once

#include <QCache>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace logstore {

class Connection;

class RowCache {
public:
    // Reads the record source named; throws core::Failure.
    RowCache(const Connection &connection, const QString &source);

    const QString &source() const { return m_source; }
    bool isView() const { return m_isView; }
    const QStringList &fields() const { return m_fields; }
    int count() const;
    qint64 id(int position) const { return m_ids.at(static_cast<size_t>(position)); }

    // The row's values as texts, read now; nothing when the row has vanished meanwhile.
    std::optional<QStringList> readRow(int position) const;
    // The same through a small cache, reading neighbouring rows in one go (for the grid).
    std::optional<QStringList> cachedRow(int position) const;

    // A table's row deleted from the file (a view's rows are never changed).
    void removeAt(int position);
    void forget(int position);

private:
    void readBlock(int first, int last) const;

    const Connection *m_connection = nullptr;
    QString m_source;
    bool m_isView = false;
    QStringList m_fields;
    std::vector<qint64> m_ids;
    std::vector<QStringList> m_viewRows;
    // Values by rowid; an empty optional marks a row found gone.
    mutable QCache<qint64, std::optional<QStringList>> m_cache{1024};
};

} // namespace logstore

// The rows a vehicle log held before an import, by date, kilometres and litres, so that an import
// stores no row twice. They are copied into a temporary table of the connection, which the engine
// keeps apart from the log file (and on disk), so memory does not grow with the log. A filter of
// fixed size in memory (a Bloom filter) tells most new rows at once that they are not there, so
// only likely duplicates cost a query.
#pragma once

#include "Connection.h"

#include <QSqlQuery>
#include <QString>
#include <array>
#include <vector>

namespace datatool {

class ExistingRows {
public:
    // Throws core::Failure when the log cannot be read. ownTransaction: the caller has no
    // transaction open (a dry run); the claims then get one of their own.
    ExistingRows(const logstore::Connection &connection, const QString &table, bool ownTransaction);
    ~ExistingRows();
    ExistingRows(const ExistingRows &) = delete;
    ExistingRows &operator=(const ExistingRows &) = delete;

    // True when the log held a row with these values that no earlier call has claimed: a log with
    // one such row lets the second of two identical rows in a file through.
    bool claim(const QString &date, double kilometres, double litres);

private:
    static constexpr size_t filterSize = size_t(1) << 23; // bits: 1 MiB

    void run(const QString &sql) const;
    static std::array<size_t, 2> filterBits(const QString &date, double kilometres, double litres);
    void remember(const QString &date, double kilometres, double litres);
    bool perhapsThere(const QString &date, double kilometres, double litres) const;

    const logstore::Connection &m_connection;
    QSqlQuery m_claim;
    bool m_ownTransaction;
    bool m_empty = true; // nothing to claim: no query per row
    std::vector<quint64> m_filter = std::vector<quint64>(filterSize / 64);
};

} // namespace datatool

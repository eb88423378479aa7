#include "ExistingRows.h"

#include "Failure.h"
#include "LogNames.h"

#include <QHashFunctions>
#include <bit>

namespace datatool {

namespace {

const QString what = QStringLiteral("Die vorhandenen Einträge können nicht gelesen werden.");

} // namespace

ExistingRows::ExistingRows(const logstore::Connection &connection, const QString &table, bool ownTransaction)
    : m_connection(connection), m_claim(connection.database()), m_ownTransaction(ownTransaction)
{
    using core::LogNames;
    run(QStringLiteral("DROP TABLE IF EXISTS temp.vorhandene_eintraege"));
    run(QStringLiteral(
            "CREATE TEMP TABLE vorhandene_eintraege AS SELECT %1 AS datum, %2 AS km, %3 AS liter FROM %4")
            .arg(LogNames::quoted(LogNames::fields().at(0)), LogNames::quoted(LogNames::fields().at(1)),
                 LogNames::quoted(LogNames::fields().at(2)), LogNames::quoted(table)));
    {
        QSqlQuery rows(m_connection.database());
        rows.setForwardOnly(true);
        if (!rows.exec(QStringLiteral("SELECT datum, km, liter FROM temp.vorhandene_eintraege")))
            throw m_connection.failure(what, rows.lastError());
        while (rows.next()) {
            // Values the engine would never find equal to a date text and two numbers are left out.
            if (rows.value(0).typeId() != QMetaType::QString || rows.value(1).typeId() != QMetaType::Double ||
                rows.value(2).typeId() != QMetaType::Double)
                continue;
            remember(rows.value(0).toString(), rows.value(1).toDouble(), rows.value(2).toDouble());
            m_empty = false;
        }
    }
    run(QStringLiteral(
        "CREATE INDEX temp.vorhandene_eintraege_werte ON vorhandene_eintraege (datum, km, liter)"));
    // All claims in one transaction that touches the temporary table alone, so that the log stays
    // unlocked and there is no commit per row.
    if (m_ownTransaction)
        run(QStringLiteral("BEGIN"));
    if (!m_claim.prepare(QStringLiteral("DELETE FROM temp.vorhandene_eintraege WHERE rowid = (SELECT rowid "
                                        "FROM temp.vorhandene_eintraege "
                                        "WHERE datum = ? AND km = ? AND liter = ? LIMIT 1)")))
        throw m_connection.failure(what, m_claim.lastError());
}

ExistingRows::~ExistingRows()
{
    m_claim.finish();
    QSqlQuery drop(m_connection.database());
    if (m_ownTransaction)
        drop.exec(QStringLiteral("ROLLBACK"));
    drop.exec(QStringLiteral("DROP TABLE IF EXISTS temp.vorhandene_eintraege"));
}

bool ExistingRows::claim(const QString &date, double kilometres, double litres)
{
    if (m_empty || !perhapsThere(date, kilometres, litres))
        return false;
    m_claim.bindValue(0, date);
    m_claim.bindValue(1, kilometres);
    m_claim.bindValue(2, litres);
    if (!m_claim.exec())
        throw m_connection.failure(what, m_claim.lastError());
    return m_claim.numRowsAffected() > 0;
}

std::array<size_t, 2> ExistingRows::filterBits(const QString &date, double kilometres, double litres)
{
    // 0 and -0 are equal for the engine, so they must fall on the same bits.
    const auto bitsOf = [](double value) { return std::bit_cast<quint64>(value == 0.0 ? 0.0 : value); };
    const size_t hash = qHashMulti(0, date, bitsOf(kilometres), bitsOf(litres));
    const size_t mask = filterSize - 1;
    return {hash & mask, (hash >> 32) & mask};
}

void ExistingRows::remember(const QString &date, double kilometres, double litres)
{
    for (const size_t bit : filterBits(date, kilometres, litres))
        m_filter[bit / 64] |= quint64(1) << (bit % 64);
}

bool ExistingRows::perhapsThere(const QString &date, double kilometres, double litres) const
{
    for (const size_t bit : filterBits(date, kilometres, litres)) {
        if (!(m_filter[bit / 64] & (quint64(1) << (bit % 64))))
            return false;
    }
    return true;
}

void ExistingRows::run(const QString &sql) const
{
    QSqlQuery query(m_connection.database());
    if (!query.exec(sql))
        throw m_connection.failure(what, query.lastError());
}

} // namespace datatool

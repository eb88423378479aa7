#include "RecordModel.h"

#include "RowCache.h"

#include "Failure.h"

namespace logstore {

RecordModel::RecordModel(QObject *parent) : QAbstractTableModel(parent) {}

int RecordModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_rows ? 0 : m_rows->count();
}

int RecordModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_rows ? 0 : static_cast<int>(m_rows->fields().size());
}

QVariant RecordModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !m_rows || !index.isValid() || index.row() >= m_rows->count())
        return {};
    try {
        const std::optional<QStringList> row = m_rows->cachedRow(index.row());
        if (!row || index.column() >= row->size())
            return QString();
        return row->at(index.column());
    } catch (const core::Failure &) {
        // A cell cannot report a failure; it stays empty, and the next refresh reports it.
        return QString();
    }
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && m_rows && section >= 0 &&
        section < m_rows->fields().size())
        return m_rows->fields().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void RecordModel::endReset(const RowCache *rows)
{
    m_rows = rows;
    endResetModel();
}

void RecordModel::rowChanged(int position)
{
    emit dataChanged(index(position, 0), index(position, columnCount() - 1));
}

} // namespace logstore

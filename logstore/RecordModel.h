// The rows of a data control's record source for a grid: one column per field, headed by the
// field's name, each cell the field's text. Values are read only for the rows the view asks
// for. Read-only: changes go through the data control.
#pragma once

#include <QAbstractTableModel>

namespace logstore {

class RowCache;

class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    friend class DataControl;
    // Called by the data control around every change of its rows.
    void beginReset() { beginResetModel(); }
    void endReset(const RowCache *rows);
    void beginRemove(int position) { beginRemoveRows(QModelIndex(), position, position); }
    void endRemove() { endRemoveRows(); }
    void rowChanged(int position);

    const RowCache *m_rows = nullptr;
};

} // namespace logstore

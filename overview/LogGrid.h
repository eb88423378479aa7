// The read-only grid that lists the rows of a data control. Rows are selected only through
// the record selectors at its left edge, or with Space on the current row; clicks and arrow
// keys in the cells move the cell cursor alone, wrapping from the end of one row to the start
// of the next. The grid's current row is always the data control's current row, so that the
// position read from the data control is the row the user sees marked.
#pragma once

#include <QTableView>

namespace logstore {
class DataControl;
}

namespace overview {

class LogGrid : public QTableView {
    Q_OBJECT
public:
    explicit LogGrid(QWidget *parent = nullptr);

    // The data control whose rows the grid lists.
    void setDataControl(logstore::DataControl *data);
    // Lists nothing, while the data control holds something other than the rows to show.
    void detach();
    // Lists the data control's rows as they are now: its current row is the grid's current
    // row, and no row is selected.
    void attach();

signals:
    // Whole rows have become selected (a record selector was clicked).
    void rowsSelected();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    void showModel(QAbstractItemModel *model);
    void fitColumns();

    logstore::DataControl *m_data = nullptr;
};

} // namespace overview

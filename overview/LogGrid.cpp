#include "LogGrid.h"

#include "DataControl.h"
#include "Fonts.h"
#include "HandlerGuard.h"
#include "RecordSelectors.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>

namespace overview {

namespace {
// Dark grey lines between rows and columns.
const QColor dividerColour(128, 128, 128);
// Room left and right of a column's widest text.
constexpr int columnMargin = 8;
} // namespace

LogGrid::LogGrid(QWidget *parent) : QTableView(parent)
{
    setVerticalHeader(new RecordSelectors(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    setFont(toolkit::Fonts::font(QStringLiteral("MS Sans Serif"), 9.75, toolkit::Fonts::bold));
    QHeaderView *columns = horizontalHeader();
    columns->setFont(toolkit::Fonts::font(QStringLiteral("MS Sans Serif"), 8.25, toolkit::Fonts::regular));
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The header row is one text line high.
    columns->setFixedHeight(QFontMetrics(columns->font()).height() + 6);

    QHeaderView *rows = verticalHeader();
    rows->setMinimumSectionSize(4);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);

    // The style draws grid lines in a pale shade of the window colour; only a style sheet
    // gives them a colour of their own.
    setStyleSheet(QStringLiteral("LogGrid { gridline-color: %1; }").arg(dividerColour.name()));
    setGridStyle(Qt::SolidLine);
}

void LogGrid::setDataControl(logstore::DataControl *data)
{
    m_data = data;
}

void LogGrid::detach()
{
    showModel(nullptr);
}

void LogGrid::attach()
{
    if (!m_data)
        return;
    showModel(m_data->model());
    fitColumns();
    const int row = m_data->absolutePosition();
    if (row >= 0) {
        const QModelIndex first = model()->index(row, 0);
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        scrollTo(first);
    }
}

void LogGrid::showModel(QAbstractItemModel *model)
{
    // The view makes a new selection model for each model it is given and leaves the old one
    // to its owner.
    QPointer<QItemSelectionModel> old = selectionModel();
    setModel(model);
    if (old && old != selectionModel())
        delete old.data();
}

void LogGrid::fitColumns()
{
    // Column widths from the captions and the width of a date in the cell font, without looking
    // at the rows: a log may hold a million of them.
    const QFontMetrics captionMetrics(horizontalHeader()->font());
    const int cellWidth = fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000"));
    for (int column = 0; column < model()->columnCount(); ++column) {
        const QString caption = model()->headerData(column, Qt::Horizontal).toString();
        setColumnWidth(column, qMax(captionMetrics.horizontalAdvance(caption), cellWidth) + 2 * columnMargin);
    }
}

QModelIndex LogGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        const int lastColumn = model()->columnCount() - 1;
        if (cursorAction == MoveRight && current.column() == lastColumn &&
            current.row() + 1 < model()->rowCount())
            return model()->index(current.row() + 1, 0);
        if (cursorAction == MoveLeft && current.column() == 0 && current.row() > 0)
            return model()->index(current.row() - 1, lastColumn);
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

QItemSelectionModel::SelectionFlags LogGrid::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const
{
    // The record selectors ask without an event; everything else (a click or a key in the cells)
    // only moves the cell cursor and drops a row selection.
    if (event)
        return QItemSelectionModel::Clear;
    return QTableView::selectionCommand(index, event);
}

void LogGrid::keyPressEvent(QKeyEvent *event)
{
    // Space selects the current row as a click on its record selector does, so that the editor
    // can be reached without a mouse.
    if (event->key() == Qt::Key_Space && (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
        if (currentIndex().isValid())
            selectRow(currentIndex().row());
        event->accept();
        return;
    }
    CursorAction action = MoveDown;
    switch (event->key()) {
    case Qt::Key_Up:
        action = MoveUp;
        break;
    case Qt::Key_Down:
        action = MoveDown;
        break;
    case Qt::Key_Left:
        action = MoveLeft;
        break;
    case Qt::Key_Right:
        action = MoveRight;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    const QModelIndex next = moveCursor(action, event->modifiers());
    if (next.isValid()) {
        selectionModel()->setCurrentIndex(next, QItemSelectionModel::Clear);
        scrollTo(next);
    }
    event->accept();
}

void LogGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    verticalHeader()->viewport()->update();
    if (!m_data || !current.isValid() || model() != m_data->model())
        return;
    if (current.row() != m_data->absolutePosition())
        toolkit::HandlerGuard::run([&] { m_data->setAbsolutePosition(current.row()); });
}

void LogGrid::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (!model())
        return;
    const int lastColumn = model()->columnCount() - 1;
    for (const QItemSelectionRange &range : selected) {
        if (range.left() == 0 && range.right() == lastColumn) {
            emit rowsSelected();
            return;
        }
    }
}

} // namespace overview

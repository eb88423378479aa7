// The record-selector column at the left edge of the log grid: one blank button per row, the
// current row marked with a small arrow. A click on a selector selects that whole row; the
// selectors carry no row numbers, since the log's rows have no number of their own.
#pragma once

#include <QHeaderView>

namespace overview {

class RecordSelectors : public QHeaderView {
    Q_OBJECT
public:
    explicit RecordSelectors(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

} // namespace overview

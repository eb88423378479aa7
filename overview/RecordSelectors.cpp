#include "RecordSelectors.h"

#include "Twips.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPolygon>
#include <QStyleOptionHeader>

namespace overview {

namespace {
// The selector column is as wide as the grid's own: 225 twips.
constexpr int selectorWidthTwips = 225;
} // namespace

RecordSelectors::RecordSelectors(QWidget *parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
}

QSize RecordSelectors::sizeHint() const
{
    return {toolkit::Twips::toPixels(selectorWidthTwips), QHeaderView::sizeHint().height()};
}

void RecordSelectors::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    const auto *view = qobject_cast<const QAbstractItemView *>(parentWidget());
    if (!view || view->currentIndex().row() != logicalIndex)
        return;
    // A right-pointing arrow marks the current row.
    const int size = qMin(rect.width(), rect.height()) / 3;
    const QPoint centre = rect.center();
    const QPolygon arrow{QPoint(centre.x() - size / 2, centre.y() - size),
                         QPoint(centre.x() + size / 2 + 1, centre.y()),
                         QPoint(centre.x() - size / 2, centre.y() + size)};
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::WindowText));
    painter->drawPolygon(arrow);
    painter->restore();
}

} // namespace overview

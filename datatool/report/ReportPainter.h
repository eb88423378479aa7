// Paints the report of one vehicle log onto A4 pages of a PDF file: heading and period, the
// totals and average as the overview shows them, the chart, the best and the worst fill-up, a
// table per year and one of the last twelve months, and the entries without a calendar date. Tables that do
// not fit go on to the next page.
#pragma once

#include "ReportData.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;
class QPainter;
class QPdfWriter;

namespace datatool {

class ReportPainter {
public:
    // Writes the PDF to device; dayText is the date the report is made, "dd.MM.yyyy".
    ReportPainter(QIODevice &device, const QString &dayText);
    ~ReportPainter();
    ReportPainter(const ReportPainter &) = delete;
    ReportPainter &operator=(const ReportPainter &) = delete;

    // Throws core::Failure when the file cannot be written.
    void paint(const ReportData &data);

private:
    struct Column {
        QString caption;
        qreal width; // share of the line
        Qt::Alignment alignment;
    };

    void heading(const ReportData &data);
    void totals(const ReportData &data);
    void chart(const ReportData &data);
    void periodTable(const QString &title, const QString &caption, const QList<ReportData::Period> &periods);
    void bestAndWorst(const ReportData &data);
    void undatedTable(const ReportData &data);
    void table(const QString &title, const QString &note, const QList<Column> &columns,
               const QList<QStringList> &rows);
    void tableHeader(const QList<Column> &columns);
    void textLine(const QString &text, const QFont &font, qreal gapAfter = 0);
    void needSpace(qreal height);
    void newPage();
    void footer();
    qreal mm(qreal millimetres) const;

    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    QString m_dayText;
    QRectF m_page;
    qreal m_y = 0;
    int m_pageNumber = 1;
    QFont m_body;
    QFont m_bold;
    QFont m_title;
    QFont m_small;
};

} // namespace datatool

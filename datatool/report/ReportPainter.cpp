#include "ReportPainter.h"

#include "ReportChart.h"

#include "Consumption.h"
#include "Failure.h"
#include "MessageText.h"
#include "NumberText.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace datatool {

namespace {

// The overview's colours: blue values on pale yellow.
const QColor blue(0, 0, 255);
const QColor paleYellow(255, 255, 192);
const QColor rule(160, 160, 160);

QFont font(qreal points, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString orDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("–") : text;
}

} // namespace

ReportPainter::ReportPainter(QIODevice &device, const QString &dayText)
    : m_writer(std::make_unique<QPdfWriter>(&device)), m_dayText(dayText), m_body(font(10)),
      m_bold(font(10, true)), m_title(font(20, true)), m_small(font(8))
{
    m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                        QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter));
    m_writer->setResolution(600);
    m_writer->setCreator(QStringLiteral("Tankverzehr"));
}

ReportPainter::~ReportPainter() = default;

qreal ReportPainter::mm(qreal millimetres) const
{
    return millimetres * m_writer->resolution() / 25.4;
}

void ReportPainter::paint(const ReportData &data)
{
    m_writer->setTitle(QStringLiteral("Verbrauchsbericht %1").arg(data.vehicle));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get()))
        throw core::Failure(QStringLiteral("Der Bericht lässt sich nicht schreiben."));
    m_page = QRectF(QPointF(0, 0), m_writer->pageLayout().paintRectPixels(m_writer->resolution()).size());
    m_page.setBottom(m_page.bottom() - mm(8)); // room for the footer
    m_y = 0;

    heading(data);
    if (data.entries == 0) {
        textLine(QStringLiteral("Das Log \"%1\" enthält keine Einträge.").arg(data.vehicle), m_body);
    } else {
        totals(data);
        chart(data);
        bestAndWorst(data);
        periodTable(QStringLiteral("Je Jahr"), QStringLiteral("Jahr"), data.years);
        periodTable(QStringLiteral("Die letzten zwölf Monate"), QStringLiteral("Monat"), data.lastMonths);
        undatedTable(data);
    }
    footer();
    if (!m_painter->end())
        throw core::Failure(QStringLiteral("Der Bericht lässt sich nicht schreiben."));
}

void ReportPainter::periodTable(const QString &title, const QString &caption,
                                const QList<ReportData::Period> &periods)
{
    QList<QStringList> rows;
    for (const ReportData::Period &period : periods)
        rows << QStringList{period.label, QString::number(period.fillUps), orDash(period.kilometres),
                            orDash(period.litres), orDash(period.average)};
    if (rows.isEmpty())
        return;
    table(title, QString(),
          {{caption, 0.16, Qt::AlignLeft},
           {QStringLiteral("Tankungen"), 0.18, Qt::AlignRight},
           {QStringLiteral("Kilometer"), 0.22, Qt::AlignRight},
           {QStringLiteral("Liter"), 0.22, Qt::AlignRight},
           {QStringLiteral("Liter pro 100 km"), 0.22, Qt::AlignRight}},
          rows);
}

void ReportPainter::bestAndWorst(const ReportData &data)
{
    if (!data.best)
        return;
    const auto describe = [](const ReportData::FillUp &fillUp) {
        return QStringLiteral("%1 l/100 km am %2 (%3 km, %4 l)")
            .arg(ReportData::twoDecimals(core::Consumption::shownText(fillUp.consumption)),
                 fillUp.day.toString(QStringLiteral("dd.MM.yyyy")),
                 ReportData::grouped(core::NumberText::text(fillUp.kilometres)),
                 ReportData::grouped(core::NumberText::text(fillUp.litres)));
    };
    textLine(QStringLiteral("Beste Tankung: %1").arg(describe(*data.best)), m_body);
    textLine(QStringLiteral("Schlechteste Tankung: %1").arg(describe(*data.worst)), m_body, mm(6));
}

void ReportPainter::undatedTable(const ReportData &data)
{
    QList<QStringList> undated;
    for (const ReportData::Undated &entry : data.undated)
        undated << (QStringList{QString::number(entry.position)} + entry.texts);
    if (undated.isEmpty())
        return;
    table(
        QStringLiteral("Einträge ohne gültiges Kalenderdatum"),
        QStringLiteral("Sie zählen in den Summen oben mit, fehlen aber im Verlauf und in der Jahrestabelle. "
                       "Eintrag: Stelle im Log."),
        {{QStringLiteral("Eintrag"), 0.12, Qt::AlignLeft},
         {QStringLiteral("Datum"), 0.2, Qt::AlignLeft},
         {QStringLiteral("Gefahrene Kilometer"), 0.24, Qt::AlignRight},
         {QStringLiteral("Getankte Liter"), 0.2, Qt::AlignRight},
         {QStringLiteral("Verbrauch auf 100 km"), 0.24, Qt::AlignRight}},
        undated);
}

void ReportPainter::heading(const ReportData &data)
{
    m_painter->setPen(blue);
    textLine(QStringLiteral("Verbrauchsbericht %1").arg(data.vehicle), m_title, mm(2));
    m_painter->setPen(Qt::black);
    const QString dateForm = QStringLiteral("dd.MM.yyyy");
    const QString period = data.first.isValid()
                               ? QStringLiteral("Zeitraum: %1 bis %2")
                                     .arg(data.first.toString(dateForm), data.last.toString(dateForm))
                               : QStringLiteral("Zeitraum: kein Eintrag mit gültigem Datum");
    textLine(QStringLiteral("%1   ·   %2   ·   erstellt am %3")
                 .arg(period, core::MessageText::entries(data.entries), m_dayText),
             m_body, mm(6));
}

void ReportPainter::totals(const ReportData &data)
{
    const QStringList captions{QStringLiteral("Gesamte Kilometer"), QStringLiteral("Gesamte Liter"),
                               QStringLiteral("Durchschnittsverbrauch")};
    const QStringList values{ReportData::grouped(data.totalKilometres) + QStringLiteral(" km"),
                             ReportData::grouped(data.totalLitres) + QStringLiteral(" l"),
                             data.average.isEmpty()
                                 ? orDash(data.average)
                                 : ReportData::twoDecimals(data.average) + QStringLiteral(" l/100 km")};
    const qreal gap = mm(6);
    const qreal width = (m_page.width() - 2 * gap) / 3;
    const qreal captionHeight = QFontMetricsF(m_bold, m_writer.get()).height() * 1.4;
    const qreal boxHeight = mm(10);
    needSpace(captionHeight + boxHeight + mm(10));
    const QFont valueFont = font(14, true);
    for (int i = 0; i < 3; ++i) {
        const qreal x = i * (width + gap);
        m_painter->setFont(m_bold);
        m_painter->setPen(Qt::black);
        m_painter->drawText(QRectF(x, m_y, width, captionHeight), Qt::AlignHCenter | Qt::AlignBottom,
                            captions[i]);
        const QRectF box(x, m_y + captionHeight + mm(1), width, boxHeight);
        m_painter->fillRect(box, paleYellow);
        m_painter->setPen(QPen(Qt::black, mm(0.2)));
        m_painter->drawRect(box);
        m_painter->setPen(blue);
        m_painter->setFont(valueFont);
        m_painter->drawText(box, Qt::AlignCenter, values[i]);
    }
    m_y += captionHeight + boxHeight + mm(2);
    m_painter->setPen(Qt::black);
    textLine(
        QStringLiteral("Summen über alle Einträge, Durchschnitt = Gesamte Liter × 100 / Gesamte Kilometer, "
                       "auf zwei Nachkommastellen gekürzt – wie in der Übersicht. Verbrauch in Liter pro "
                       "100 km (l/100 km)."),
        m_small, mm(6));
}

void ReportPainter::chart(const ReportData &data)
{
    if (data.points.isEmpty())
        return;
    const qreal height = mm(95);
    needSpace(height + mm(16));
    textLine(QStringLiteral("Verbrauch je Tankung (Liter pro 100 km)"), font(12, true), mm(2));
    ReportChart::paint(*m_painter, QRectF(0, m_y, m_page.width(), height), data);
    m_y += height + mm(6);
}

void ReportPainter::table(const QString &title, const QString &note, const QList<Column> &columns,
                          const QList<QStringList> &rows)
{
    const qreal rowHeight = QFontMetricsF(m_body, m_writer.get()).height() * 1.5;
    needSpace(mm(12) + 3 * rowHeight);
    textLine(title, font(12, true), note.isEmpty() ? mm(2) : 0);
    if (!note.isEmpty())
        textLine(note, m_small, mm(2));
    tableHeader(columns);
    for (const QStringList &row : rows) {
        if (m_y + rowHeight > m_page.bottom()) {
            newPage();
            textLine(QStringLiteral("%1 (Fortsetzung)").arg(title), font(12, true), mm(2));
            tableHeader(columns);
        }
        m_painter->setFont(m_body);
        qreal x = 0;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const qreal width = columns.at(i).width * m_page.width();
            m_painter->drawText(QRectF(x + mm(1), m_y, width - mm(2), rowHeight),
                                columns.at(i).alignment | Qt::AlignVCenter, row.at(i));
            x += width;
        }
        m_y += rowHeight;
        m_painter->setPen(QPen(rule, mm(0.1)));
        m_painter->drawLine(QPointF(0, m_y), QPointF(m_page.width(), m_y));
        m_painter->setPen(Qt::black);
    }
    m_y += mm(6);
}

void ReportPainter::tableHeader(const QList<Column> &columns)
{
    const qreal rowHeight = QFontMetricsF(m_bold, m_writer.get()).height() * 1.6;
    m_painter->fillRect(QRectF(0, m_y, m_page.width(), rowHeight), QColor(235, 235, 235));
    m_painter->setFont(m_bold);
    qreal x = 0;
    for (const Column &column : columns) {
        const qreal width = column.width * m_page.width();
        m_painter->drawText(QRectF(x + mm(1), m_y, width - mm(2), rowHeight),
                            column.alignment | Qt::AlignVCenter, column.caption);
        x += width;
    }
    m_y += rowHeight;
}

void ReportPainter::textLine(const QString &text, const QFont &font, qreal gapAfter)
{
    const QFontMetricsF metrics(font, m_writer.get());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    const qreal height =
        std::max(metrics.height() * 1.25,
                 metrics.boundingRect(QRectF(0, 0, m_page.width(), m_page.height()), flags, text).height());
    needSpace(height);
    m_painter->setFont(font);
    m_painter->drawText(QRectF(0, m_y, m_page.width(), height), flags, text);
    m_y += height + gapAfter;
}

void ReportPainter::needSpace(qreal height)
{
    if (m_y > 0 && m_y + height > m_page.bottom())
        newPage();
}

void ReportPainter::newPage()
{
    footer();
    if (!m_writer->newPage())
        throw core::Failure(QStringLiteral("Der Bericht lässt sich nicht schreiben."));
    ++m_pageNumber;
    m_y = 0;
}

void ReportPainter::footer()
{
    const QPen pen = m_painter->pen();
    m_painter->setPen(rule);
    m_painter->setFont(m_small);
    const QRectF area(0, m_page.bottom() + mm(3), m_page.width(), mm(5));
    m_painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                        QStringLiteral("Tankverzehr – %1").arg(m_dayText));
    m_painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                        QStringLiteral("Seite %1").arg(m_pageNumber));
    m_painter->setPen(pen);
}

} // namespace datatool

// The grid of the overview and the "Bearbeiten" button: only a record-selector click selects a
// row and enables the button; the cell cursor moves, wraps and stays in step with the data control.
#include "MessageRecorder.h"
#include "OverviewFixture.h"
#include "TestLog.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

class LogGridTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectionAndBearbeiten_data();
    void selectionAndBearbeiten();
    void cellCursor_data();
    void cellCursor();
    void activationResetsCurrentRowKeepsButton();
    void tabLeavesGrid();
    void readOnlyColumnsAndDividers();
    void largeLogListed();

private:
    std::unique_ptr<TestLog> m_log;
    std::unique_ptr<OverviewFixture> m_f;
};

namespace {
// Runs "selector 2", "cell 1 3" or "key Down" on the window's grid.
void perform(const OverviewFixture &f, const QString &action)
{
    const QStringList parts = action.split(QLatin1Char(' '));
    if (parts[0] == QLatin1String("selector")) {
        f.clickRecordSelector(parts[1].toInt());
    } else if (parts[0] == QLatin1String("cell")) {
        f.clickCell(parts[1].toInt(), parts[2].toInt());
    } else {
        static const QHash<QString, Qt::Key> keys{{"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},
                                                  {"Left", Qt::Key_Left},     {"Right", Qt::Key_Right},
                                                  {"Home", Qt::Key_Home},     {"End", Qt::Key_End},
                                                  {"PgDn", Qt::Key_PageDown}, {"Space", Qt::Key_Space}};
        QTest::keyClick(f.grid(), keys.value(parts[1]));
    }
}
} // namespace

void LogGridTest::init()
{
    m_log = std::make_unique<TestLog>();
    m_log->append(QStringLiteral("Auto"), {"01.03.2024", "100", "7", "7"});
    m_log->append(QStringLiteral("Auto"), {"02.03.2024", "200", "15", "7,5"});
    m_log->append(QStringLiteral("Auto"), {"03.03.2024", "300", "20", "6,66"});
    m_log->append(QStringLiteral("Auto"), {"04.03.2024", "400", "30", "7,5"});
    m_f = std::make_unique<OverviewFixture>();
    QVERIFY(m_f->open());
    m_f->grid()->setFocus();
    QTRY_VERIFY(m_f->grid()->hasFocus());
}

void LogGridTest::cleanup()
{
    m_f.reset();
    m_log.reset();
}

void LogGridTest::selectionAndBearbeiten_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("selectedRow");

    QTest::newRow("nothing done") << QStringList{} << false << 0 << -1;
    QTest::newRow("arrow keys") << QStringList{"key Down", "key Down"} << false << 2 << -1;
    QTest::newRow("cell click") << QStringList{"cell 3 2"} << false << 3 << -1;
    QTest::newRow("space on a cell") << QStringList{"key Down", "key Space"} << false << 1 << -1;
    QTest::newRow("third selector") << QStringList{"selector 2"} << true << 2 << 2;
    QTest::newRow("first selector") << QStringList{"selector 0"} << true << 0 << 0;
    QTest::newRow("last selector") << QStringList{"selector 3"} << true << 3 << 3;
    QTest::newRow("another selector") << QStringList{"selector 3", "selector 1"} << true << 1 << 1;
    // The button opens the row the cell cursor is on; moving it drops the selection but the
    // button stays usable.
    QTest::newRow("selector, then arrow") << QStringList{"selector 1", "key Down"} << true << 2 << -1;
    QTest::newRow("selector, then cell") << QStringList{"selector 3", "cell 0 1"} << true << 0 << -1;
}

void LogGridTest::selectionAndBearbeiten()
{
    QFETCH(QStringList, actions);
    QFETCH(bool, enabled);
    QFETCH(int, currentRow);
    QFETCH(int, selectedRow);

    QVERIFY(!m_f->command1()->isEnabled());
    QVERIFY(!m_f->window->Datensatznummer.isValid());
    for (const QString &action : actions)
        perform(*m_f, action);

    QCOMPARE(m_f->command1()->isEnabled(), enabled);
    QCOMPARE(m_f->grid()->currentIndex().row(), currentRow);
    QCOMPARE(m_f->data1()->absolutePosition(), currentRow);
    const QModelIndexList selected = m_f->grid()->selectionModel()->selectedRows();
    QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), selectedRow);

    QSignalSpy requested(m_f->window.get(), &Uebersicht::bearbeitenRequested);
    QTest::mouseClick(m_f->command1(), Qt::LeftButton);
    if (!enabled) {
        QCOMPARE(requested.size(), 0);
        QVERIFY(!m_f->window->Datensatznummer.isValid());
        return;
    }
    QCOMPARE(requested.size(), 1);
    QCOMPARE(m_f->window->Datensatznummer.typeId(), QMetaType::Int);
    QCOMPARE(m_f->window->Datensatznummer.toInt(), currentRow);
    QVERIFY(!m_f->command1()->isEnabled());

    // Disabled again until the next record-selector click.
    QTest::keyClick(m_f->grid(), Qt::Key_Down);
    QVERIFY(!m_f->command1()->isEnabled());
    m_f->clickRecordSelector(0);
    QVERIFY(m_f->command1()->isEnabled());
    QTest::mouseClick(m_f->command1(), Qt::LeftButton);
    QCOMPARE(requested.size(), 2);
    QCOMPARE(m_f->window->Datensatznummer.toInt(), 0);
}

void LogGridTest::cellCursor_data()
{
    QTest::addColumn<QPoint>("start"); // (column, row)
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QPoint>("end");

    QTest::newRow("right at row end wraps") << QPoint(3, 0) << QStringList{"Right"} << QPoint(0, 1);
    QTest::newRow("left at row start wraps back") << QPoint(0, 2) << QStringList{"Left"} << QPoint(3, 1);
    QTest::newRow("right through a whole row")
        << QPoint(0, 0) << QStringList{"Right", "Right", "Right", "Right"} << QPoint(0, 1);
    QTest::newRow("right at the last cell stays") << QPoint(3, 3) << QStringList{"Right"} << QPoint(3, 3);
    QTest::newRow("left at the first cell stays") << QPoint(0, 0) << QStringList{"Left"} << QPoint(0, 0);
    QTest::newRow("down keeps the column") << QPoint(2, 0) << QStringList{"Down", "Down"} << QPoint(2, 2);
    QTest::newRow("up past the top stays") << QPoint(1, 0) << QStringList{"Up"} << QPoint(1, 0);
    QTest::newRow("down past the bottom stays") << QPoint(1, 3) << QStringList{"Down"} << QPoint(1, 3);
    QTest::newRow("page down to the last row") << QPoint(1, 0) << QStringList{"PgDn"} << QPoint(1, 3);
}

void LogGridTest::cellCursor()
{
    QFETCH(QPoint, start);
    QFETCH(QStringList, keys);
    QFETCH(QPoint, end);

    m_f->clickCell(start.y(), start.x());
    QCOMPARE(m_f->grid()->currentIndex(), m_f->grid()->model()->index(start.y(), start.x()));
    for (const QString &key : keys)
        perform(*m_f, QStringLiteral("key ") + key);
    QCOMPARE(m_f->grid()->currentIndex(), m_f->grid()->model()->index(end.y(), end.x()));
    QCOMPARE(m_f->data1()->absolutePosition(), end.y());
    QVERIFY(!m_f->command1()->isEnabled());
}

void LogGridTest::activationResetsCurrentRowKeepsButton()
{
    m_f->clickRecordSelector(2);
    QVERIFY(m_f->command1()->isEnabled());
    QCOMPARE(m_f->data1()->absolutePosition(), 2);

    QVERIFY(m_f->reactivate());
    QCOMPARE(m_f->grid()->currentIndex().row(), 0);
    QCOMPARE(m_f->data1()->absolutePosition(), 0);
    QVERIFY(m_f->grid()->selectionModel()->selectedRows().isEmpty());
    QVERIFY(m_f->command1()->isEnabled());

    QTest::mouseClick(m_f->command1(), Qt::LeftButton);
    QCOMPARE(m_f->window->Datensatznummer.toInt(), 0);

    // A disabled button stays disabled across activations too.
    QVERIFY(m_f->reactivate());
    QVERIFY(!m_f->command1()->isEnabled());
}

void LogGridTest::tabLeavesGrid()
{
    m_f->clickRecordSelector(1);
    QVERIFY(m_f->command1()->isEnabled());
    m_f->grid()->setFocus();
    QTRY_VERIFY(m_f->grid()->hasFocus());
    const QModelIndex before = m_f->grid()->currentIndex();
    QTest::keyClick(m_f->grid(), Qt::Key_Tab);
    QTRY_VERIFY(m_f->command1()->hasFocus());
    QCOMPARE(m_f->grid()->currentIndex(), before);
}

void LogGridTest::readOnlyColumnsAndDividers()
{
    LogGrid *grid = m_f->grid();
    const QStringList captions{"Datum", "Gefahrene Kilometer", "Getankte Liter",
                               "Verbrauch auf 100 km in Liter"};
    QCOMPARE(grid->model()->columnCount(), captions.size());
    for (int column = 0; column < captions.size(); ++column) {
        QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
        // Each caption fits its column.
        QVERIFY(grid->columnWidth(column) >
                QFontMetrics(grid->horizontalHeader()->font()).horizontalAdvance(captions[column]));
    }
    QCOMPARE(m_f->cell(2, 3), QStringLiteral("6,66"));
    // Header captions in a smaller regular font, one line high.
    const QFont captionFont = grid->horizontalHeader()->font();
    QCOMPARE(captionFont.pointSizeF(), 8.25);
    QVERIFY(!captionFont.bold());
    QVERIFY(grid->horizontalHeader()->height() < 2 * QFontMetrics(captionFont).height());

    // No way to edit a cell.
    m_f->clickCell(1, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClicks(grid, QStringLiteral("999"));
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(!grid->indexWidget(grid->currentIndex()));
    QCOMPARE(m_f->cell(1, 1), QStringLiteral("200"));
    QCOMPARE(m_log->rows(QStringLiteral("Auto")).at(1).at(1), QStringLiteral("200"));

    // Dark grey lines between the rows.
    const QImage picture = grid->viewport()->grab().toImage();
    const int y = grid->rowViewportPosition(0) + grid->rowHeight(0) - 1;
    const int x = grid->columnViewportPosition(0) + grid->columnWidth(0) / 2;
    QCOMPARE(picture.pixelColor(x * picture.devicePixelRatio(), y * picture.devicePixelRatio()),
             QColor(128, 128, 128));
}

void LogGridTest::largeLogListed()
{
    m_f.reset();
    m_log->appendMany(QStringLiteral("Auto"), 200000);
    m_f = std::make_unique<OverviewFixture>();
    QVERIFY(m_f->open());
    QCOMPARE(m_f->rowCount(), 200004);
    QTest::keyClick(m_f->grid(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_f->grid()->currentIndex().row(), 200003);
    QCOMPARE(m_f->data1()->absolutePosition(), 200003);
    m_f->clickRecordSelector(200003);
    QTest::mouseClick(m_f->command1(), Qt::LeftButton);
    QCOMPARE(m_f->window->Datensatznummer.toInt(), 200003);
    QCOMPARE(m_f->cell(200003, 1), m_log->rows(QStringLiteral("Auto")).at(200003).at(1));
}

QTEST_MAIN(LogGridTest)
#include "LogGridTest.moc"

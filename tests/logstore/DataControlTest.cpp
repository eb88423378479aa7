// The data control: positions shared by every reader, bound boxes, storing and deleting the
// current row, the grid model, and refresh failures that keep the rows read before.
#include <DataControl.h>
#include <Database.h>
#include <Failure.h>
#include <TestLog.h>

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using logstore::DataControl;

namespace {

const QString autoLog = QStringLiteral("Auto");

QList<QStringList> sampleRows(int count)
{
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i)
        rows << QStringList{QStringLiteral("%1.01.2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                            QString::number(100 + i), QStringLiteral("%1,5").arg(i),
                            QStringLiteral("%1,25").arg(7 + i)};
    return rows;
}

void fill(TestLog &log, const QList<QStringList> &rows)
{
    for (const QStringList &row : rows)
        log.append(autoLog, row);
}

void open(DataControl &control, const TestLog &log, const QString &source = autoLog)
{
    control.setDatabaseName(log.path());
    control.setRecordSource(source);
    control.refresh();
}

QStringList currentRow(const DataControl &control)
{
    QStringList row;
    for (int i = 0; i < 4; ++i)
        row << control.field(i);
    return row;
}

} // namespace

class DataControlTest : public QObject {
    Q_OBJECT
private slots:
    void positionIsTheSameRowForEveryReader_data();
    void positionIsTheSameRowForEveryReader();
    void positionOutOfRangeFails_data();
    void positionOutOfRangeFails();
    void emptyLogHasNoCurrentRow();
    void boundBoxesFollowTheCurrentRow();
    void updateStoresBoundTexts_data();
    void updateStoresBoundTexts();
    void updateNeedsEditAndALog();
    void deleteRemovesTheCurrentRow_data();
    void deleteRemovesTheCurrentRow();
    void rowDeletedElsewhereIsNotWritten();
    void refreshWithForeignNameFails_data();
    void refreshWithForeignNameFails();
    void appendWhileTwoControlsHoldTheFile();
    void modelListsRowsInStoredOrder();
};

void DataControlTest::positionIsTheSameRowForEveryReader_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("deletedBefore"); // a row removed before reading, -1 for none
    QTest::newRow("first of one") << 1 << 0 << -1;
    QTest::newRow("middle of five") << 5 << 2 << -1;
    QTest::newRow("last of five") << 5 << 4 << -1;
    QTest::newRow("after a gap") << 6 << 3 << 1;
    QTest::newRow("many rows") << 150 << 140 << 70;
}

void DataControlTest::positionIsTheSameRowForEveryReader()
{
    QFETCH(int, rows);
    QFETCH(int, position);
    QFETCH(int, deletedBefore);
    TestLog log;
    fill(log, sampleRows(rows + (deletedBefore >= 0 ? 1 : 0)));
    if (deletedBefore >= 0) {
        DataControl remover;
        open(remover, log);
        remover.setAbsolutePosition(deletedBefore);
        remover.deleteCurrent();
    }
    const QList<QStringList> stored = log.rows(autoLog);
    QCOMPARE(stored.size(), rows);

    DataControl overview;
    open(overview, log);
    QCOMPARE(overview.absolutePosition(), 0);
    overview.setAbsolutePosition(position);
    DataControl editor;
    open(editor, log);
    editor.moveLast();
    QCOMPARE(editor.absolutePosition(), rows - 1);
    QCOMPARE(currentRow(editor), stored.last());
    editor.setAbsolutePosition(overview.absolutePosition());
    QCOMPARE(currentRow(editor), stored.at(position));
    QCOMPARE(currentRow(overview), stored.at(position));
    QCOMPARE(overview.model()->index(position, 1).data().toString(), stored.at(position).at(1));
}

void DataControlTest::positionOutOfRangeFails_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("position");
    QTest::newRow("negative") << 3 << -1;
    QTest::newRow("one past the end") << 3 << 3;
    QTest::newRow("empty log") << 0 << 0;
}

void DataControlTest::positionOutOfRangeFails()
{
    QFETCH(int, rows);
    QFETCH(int, position);
    TestLog log;
    fill(log, sampleRows(rows));
    DataControl control;
    open(control, log);
    const int before = control.absolutePosition();
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.setAbsolutePosition(position));
    QCOMPARE(control.absolutePosition(), before);
}

void DataControlTest::emptyLogHasNoCurrentRow()
{
    TestLog log;
    DataControl control;
    QLineEdit box;
    box.setText(QStringLiteral("alt"));
    control.bind(&box, QStringLiteral("Datum"));
    open(control, log);
    QCOMPARE(control.recordCount(), 0);
    QCOMPARE(control.absolutePosition(), -1);
    control.moveLast();
    QCOMPARE(control.absolutePosition(), -1);
    QCOMPARE(box.text(), QString());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.field(0));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.edit());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.deleteCurrent());
    QCOMPARE(control.model()->rowCount(), 0);
}

void DataControlTest::boundBoxesFollowTheCurrentRow()
{
    TestLog log;
    const QList<QStringList> rows = sampleRows(3);
    fill(log, rows);
    DataControl control;
    QSignalSpy changed(&control, &DataControl::currentChanged);
    QLineEdit date;
    QLineEdit litres;
    control.bind(&date, QStringLiteral("Datum"));
    control.bind(&litres, QStringLiteral("Getankte Liter"));
    open(control, log);
    QCOMPARE(date.text(), rows.at(0).at(0));
    QCOMPARE(litres.text(), rows.at(0).at(2));
    control.moveLast();
    QCOMPARE(litres.text(), rows.at(2).at(2));
    control.setAbsolutePosition(1);
    QCOMPARE(date.text(), rows.at(1).at(0));
    QCOMPARE(changed.size(), 3);
    QCOMPARE(changed.last().at(0).toInt(), 1);
    QCOMPARE(control.field(QStringLiteral("Gefahrene Kilometer")), rows.at(1).at(1));
}

void DataControlTest::updateStoresBoundTexts_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("stored"); // empty: refused, nothing changes
    QTest::newRow("plain") << QStringList{"05.02.2024", "33,5", "8,1", "412"}
                           << QStringList{"05.02.2024", "412", "33,5", "8,1"};
    QTest::newRow("group separators and blanks") << QStringList{"05.02.2024", " 1.033,50 ", "8", "1.412"}
                                                 << QStringList{"05.02.2024", "1412", "1033,5", "8"};
    QTest::newRow("empty litres") << QStringList{"05.02.2024", "", "8,1", "412"}
                                  << QStringList{"05.02.2024", "412", "", "8,1"};
    QTest::newRow("letters in kilometres")
        << QStringList{"05.02.2024", "33,5", "8,1", "viel"} << QStringList{};
    QTest::newRow("letters in consumption") << QStringList{"05.02.2024", "33,5", "x", "412"} << QStringList{};
}

void DataControlTest::updateStoresBoundTexts()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    TestLog log;
    const QList<QStringList> rows = sampleRows(3);
    fill(log, rows);
    DataControl control;
    // The editor's boxes: date, litres, consumption, kilometres.
    QLineEdit boxes[4];
    const QStringList fields{"Datum", "Getankte Liter", "Verbrauch auf 100 km in Liter",
                             "Gefahrene Kilometer"};
    for (int i = 0; i < 4; ++i)
        control.bind(&boxes[i], fields.at(i));
    open(control, log);
    control.setAbsolutePosition(1);
    control.edit();
    for (int i = 0; i < 4; ++i)
        boxes[i].setText(typed.at(i));
    QList<QStringList> expected = rows;
    if (stored.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.update());
    } else {
        control.update();
        expected[1] = stored;
        QCOMPARE(currentRow(control), stored);
        QCOMPARE(boxes[1].text(), stored.at(2));
    }
    QCOMPARE(log.rows(autoLog), expected);
}

void DataControlTest::updateNeedsEditAndALog()
{
    TestLog log;
    fill(log, sampleRows(2));
    DataControl control;
    QLineEdit box;
    control.bind(&box, QStringLiteral("Gefahrene Kilometer"));
    open(control, log);
    box.setText(QStringLiteral("999"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.update());
    control.edit();
    control.setAbsolutePosition(1); // moving drops the edit
    box.setText(QStringLiteral("999"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.update());
    QCOMPARE(log.rows(autoLog), sampleRows(2));

    control.setRecordSource(QStringLiteral("Autogesamt"));
    control.refresh();
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.edit());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.deleteCurrent());
    QCOMPARE(log.count(autoLog), 2);
}

void DataControlTest::deleteRemovesTheCurrentRow_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("middle") << 2 << 2;
    QTest::newRow("last") << 4 << 3;
}

void DataControlTest::deleteRemovesTheCurrentRow()
{
    QFETCH(int, position);
    QFETCH(int, currentAfter);
    TestLog log;
    QList<QStringList> rows = sampleRows(5);
    fill(log, rows);
    DataControl control;
    open(control, log);
    control.setAbsolutePosition(position);
    control.deleteCurrent();
    rows.removeAt(position);
    QCOMPARE(log.rows(autoLog), rows);
    QCOMPARE(control.recordCount(), 4);
    QCOMPARE(control.model()->rowCount(), 4);
    QCOMPARE(control.absolutePosition(), currentAfter);
    QCOMPARE(currentRow(control), rows.at(currentAfter));
}

void DataControlTest::rowDeletedElsewhereIsNotWritten()
{
    TestLog log;
    QList<QStringList> rows = sampleRows(3);
    fill(log, rows);
    DataControl editor;
    QLineEdit km;
    editor.bind(&km, QStringLiteral("Gefahrene Kilometer"));
    open(editor, log);
    editor.setAbsolutePosition(1);
    DataControl other;
    open(other, log);
    other.setAbsolutePosition(1);
    other.deleteCurrent();
    editor.edit();
    km.setText(QStringLiteral("5"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, editor.update());
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, editor.deleteCurrent());
    rows.removeAt(1);
    QCOMPARE(log.rows(autoLog), rows);
}

void DataControlTest::refreshWithForeignNameFails_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("otherFile");
    QTest::newRow("unknown name") << "Fahrrad" << false;
    QTest::newRow("lower case") << "auto" << false;
    QTest::newRow("statement") << "Auto; DROP TABLE Auto" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("missing file") << "Auto" << true;
}

void DataControlTest::refreshWithForeignNameFails()
{
    QFETCH(QString, source);
    QFETCH(bool, otherFile);
    TestLog log;
    fill(log, sampleRows(3));
    DataControl control;
    open(control, log);
    control.setAbsolutePosition(2);
    control.setRecordSource(source);
    if (otherFile)
        control.setDatabaseName(log.dir() + QStringLiteral("/Fehlt.mdb"));
    QVERIFY_THROWS_EXCEPTION(toolkit::Failure, control.refresh());
    QCOMPARE(control.recordCount(), 3);
    QCOMPARE(control.absolutePosition(), 2);
    QCOMPARE(control.model()->rowCount(), 3);
    QCOMPARE(log.count(autoLog), 3);
    QVERIFY(!QFile::exists(log.dir() + QStringLiteral("/Fehlt.mdb")));
}

void DataControlTest::appendWhileTwoControlsHoldTheFile()
{
    TestLog log;
    fill(log, sampleRows(100));
    DataControl overview;
    open(overview, log, QStringLiteral("Autogesamt"));
    DataControl grid;
    open(grid, log);
    QCOMPARE(grid.model()->index(50, 0).data().toString(), sampleRows(100).at(50).at(0));
    DataControl editor;
    open(editor, log);
    editor.moveLast();
    for (int i = 0; i < 3; ++i) {
        logstore::Database db = logstore::Database::open(log.path());
        logstore::Recordset records = db.openRecordset(autoLog);
        records.addNew();
        records.setField(QStringLiteral("Gefahrene Kilometer"), QStringLiteral("10"));
        records.update();
    }
    editor.edit();
    editor.update();
    QCOMPARE(log.count(autoLog), 103);
    QCOMPARE(grid.recordCount(), 100); // seen at the next refresh only
    grid.refresh();
    QCOMPARE(grid.recordCount(), 103);
    overview.refresh();
    QCOMPARE(overview.field(0), QString::number(100 * 100 + 99 * 100 / 2 + 30));
}

void DataControlTest::modelListsRowsInStoredOrder()
{
    TestLog log;
    const QList<QStringList> rows = sampleRows(130);
    fill(log, rows);
    DataControl control;
    QAbstractItemModel *model = control.model();
    open(control, log);
    QCOMPARE(model->columnCount(), 4);
    QStringList captions;
    for (int c = 0; c < 4; ++c)
        captions << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"Datum", "Gefahrene Kilometer", "Getankte Liter",
                                    "Verbrauch auf 100 km in Liter"}));
    QCOMPARE(model->rowCount(), 130);
    for (int r : {129, 0, 63, 64, 100}) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << model->index(r, c).data().toString();
        QCOMPARE(cells, rows.at(r));
    }
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    control.setRecordSource(QStringLiteral("Autogesamt"));
    control.refresh();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->columnCount(), 2);
}

QTEST_MAIN(DataControlTest)
#include "DataControlTest.moc"

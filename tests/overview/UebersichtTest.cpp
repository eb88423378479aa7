// The overview window as the user sees it: totals, average, vehicle name, the listed log and its
// grid, what it shows when the log file or parts of it are missing, its layout and single instance.
#include "Activation.h"
#include "MessageRecorder.h"
#include "OverviewFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <SingleWindow.h>
#include <algorithm>

using Texts = QStringList;

class UebersichtTest : public QObject {
    Q_OBJECT
private slots:
    void totals_data();
    void totals();
    void changedLogShownOnNextActivation();
    void cursorAndSelection_data();
    void cursorAndSelection();
    void oneWindowAtATime();
    void layout_data();
    void layout();
    void picture();
};

static const Entries fourEntries{{"01.03.2024", "100", "7", "7"},
                                 {"02.03.2024", "200", "15", "7,5"},
                                 {"03.03.2024", "300", "20", "6,66"},
                                 {"04.03.2024", "400", "30", "7,5"}};

void UebersichtTest::totals_data()
{
    QTest::addColumn<QString>("fahrzeug");
    QTest::addColumn<Texts>("carLog");   // kilometres and litres of each entry
    QTest::addColumn<Texts>("labels");   // Label1, Label5, Label6, Label7
    QTest::addColumn<QString>("damage"); // statements run on the log, or "remove" for the file
    QTest::addColumn<int>("told");       // messages: 1 when the log cannot be listed

    // The log "Motorrad" always holds one entry: 180 km, 6,3 l.
    const Texts car{"100", "7"};
    const Texts two = car + Texts{"200", "15"};
    const Texts motorcycle{"Motorrad", "180", "6,3", "3,5"};
    const Texts captions{"", "Label5", "Label6", "Label7"};
    QTest::newRow("cut") << "Auto" << two << Texts{"Auto", "300", "22", "7,33"} << "" << 0;
    QTest::newRow("300/20") << "Auto" << Texts{"300", "20"} << Texts{"Auto", "300", "20", "6,66"} << "" << 0;
    QTest::newRow("400/30") << "Auto" << Texts{"400", "30"} << Texts{"Auto", "400", "30", "7,5"} << "" << 0;
    QTest::newRow("400/20") << "Auto" << Texts{"400", "20"} << Texts{"Auto", "400", "20", "5"} << "" << 0;
    QTest::newRow("motorcycle") << "Motorrad" << car << motorcycle << "" << 0;
    QTest::newRow("empty log: no average") << "Auto" << Texts{} << Texts{"Auto", "0", "0", ""} << "" << 0;
    // Only the exact text "Auto" chooses the car's totals and name, while the grid lists the log
    // named by the text itself; log names are matched exactly, so "auto" names no log.
    QTest::newRow("lower case") << "auto" << car << motorcycle << "" << 1;
    // The totals cannot be read: the captions keep their texts.
    QTest::newRow("file missing") << "Auto" << car << captions << "remove" << 1;
    QTest::newRow("summary missing") << "Auto" << car << captions << "DROP VIEW Autogesamt" << 1;
    // The totals are read, the log is not: everything but the grid is new.
    QTest::newRow("log missing")
        << "Motorrad" << car << Texts{"Motorrad", "5", "2", "40"}
        << "DROP VIEW Motorradgesamt; DROP TABLE Motorrad; CREATE VIEW Motorradgesamt AS SELECT 5, 2" << 1;
}

void UebersichtTest::totals()
{
    QFETCH(QString, fahrzeug);
    QFETCH(Texts, carLog);
    QFETCH(Texts, labels);
    QFETCH(QString, damage);
    QFETCH(int, told);

    OverviewFixture f;
    for (int i = 0; i < carLog.size(); i += 2)
        f.log.append(QStringLiteral("Auto"), {"01.03.2024", carLog[i], carLog[i + 1], "7"});
    f.log.append(QStringLiteral("Motorrad"), {"03.03.2024", "180", "6,3", "3,5"});
    for (const QString &statement : damage.split(QStringLiteral("; "), Qt::SkipEmptyParts))
        QVERIFY(statement == QLatin1String("remove") ? QFile::remove(f.log.path()) : f.alterLog(statement));
    // Real message boxes, closed by the "user" as soon as they appear.
    Texts boxes;
    QTimer user;
    connect(&user, &QTimer::timeout, this, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << box->windowTitle() + QStringLiteral(": ") + box->text();
            box->accept();
        }
    });
    user.start(20);
    f.fahrzeug = fahrzeug;
    f.open(false);
    QTRY_COMPARE(boxes.size(), told);
    // The window system hands the focus back to the window when the box closes; that must not
    // read the log again (which would fail again and show the box again, without end).
    f.window->activateWindow();
    QTRY_VERIFY(f.window->isActiveWindow());
    QCOMPARE(boxes.size(), told);
    for (const QString &box : boxes)
        QVERIFY2(box.startsWith(QStringLiteral("Tankverzehr: ")) && box.size() > 13, qPrintable(box));

    QCOMPARE(f.labels({"Label1", "Label5", "Label6", "Label7"}), labels);
    const Entries rows = told ? Entries{} : f.log.rows(fahrzeug);
    QCOMPARE(f.rowCount(), rows.size());
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 4; ++column)
            QCOMPARE(f.cell(row, column), rows[row][column]);
    }
    QVERIFY(!f.command1()->isEnabled());
    QCOMPARE(QFile::exists(f.log.path()), damage != QLatin1String("remove")); // the program creates no file

    // Each real return to the window reads the log again and tells once more.
    QTRY_VERIFY(!toolkit::Activation::isSettling());
    QVERIFY(f.leave());
    f.window->activateWindow();
    QTRY_COMPARE(boxes.size(), 2 * told);
}

void UebersichtTest::changedLogShownOnNextActivation()
{
    MessageRecorder recorder;
    OverviewFixture f(fourEntries.mid(0, 3));
    QVERIFY(f.open());
    f.clickRecordSelector(0);

    // Another window deletes the second entry; nothing changes before the window is activated again.
    QVERIFY(f.alterLog(QStringLiteral("DELETE FROM \"Auto\" WHERE rowid = 2")));
    QCOMPARE(f.rowCount(), 3);
    QVERIFY(f.reactivate());
    QCOMPARE(f.rowCount(), 2);
    QCOMPARE(f.cell(1, 0), QStringLiteral("03.03.2024"));
    QCOMPARE(f.labels({"Label1", "Label5", "Label6", "Label7"}), (Texts{"Auto", "400", "27", "6,75"}));

    // The last entries go: the totals fall to 0 and the grid is emptied, not left as it was.
    QVERIFY(f.alterLog(QStringLiteral("DELETE FROM \"Auto\"")));
    QVERIFY(f.reactivate());
    QCOMPARE(f.rowCount(), 0);
    QCOMPARE(f.labels({"Label1", "Label5", "Label6", "Label7"}), (Texts{"Auto", "0", "0", ""}));
    // "Bearbeiten" is still enabled, but with no row to open it tells the user instead.
    QVERIFY(f.command1()->isEnabled());
    QSignalSpy requested(f.window.get(), &Uebersicht::bearbeitenRequested);
    QTest::mouseClick(f.command1(), Qt::LeftButton);
    QCOMPARE(requested.size(), 0);
    QCOMPARE(recorder.shown().size(), 1);
    QVERIFY(!f.window->Datensatznummer.isValid());
}

void UebersichtTest::cursorAndSelection_data()
{
    QTest::addColumn<int>("generated"); // entries added to the four of the log
    QTest::addColumn<Texts>("actions"); // "selector <row>", "cell <row> <column>", a key or "reactivate"
    QTest::addColumn<QPoint>("cursor"); // (column, row)
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("nothing done") << 0 << Texts{} << QPoint(0, 0) << -1 << false;
    QTest::newRow("cell click") << 0 << Texts{"cell 3 2"} << QPoint(2, 3) << -1 << false;
    QTest::newRow("right at row end wraps") << 0 << Texts{"cell 0 3", "Right"} << QPoint(0, 1) << -1 << false;
    QTest::newRow("left at row start wraps") << 0 << Texts{"cell 2 0", "Left"} << QPoint(3, 1) << -1 << false;
    // The grid cannot be edited.
    QTest::newRow("edit") << 0 << Texts{"cell 1 1", "F2", "9"} << QPoint(1, 1) << -1 << false;
    QTest::newRow("third selector") << 0 << Texts{"selector 2"} << QPoint(0, 2) << 2 << true;
    // The button opens the row the cell cursor is on: moving it drops the selection, not the button.
    QTest::newRow("selector, then arrow") << 0 << Texts{"selector 1", "Down"} << QPoint(0, 2) << -1 << true;
    // Activation again goes back to the first entry and keeps the button's state.
    QTest::newRow("selector, again") << 0 << Texts{"selector 2", "reactivate"} << QPoint(0, 0) << -1 << true;
    QTest::newRow("arrow, again") << 0 << Texts{"Down", "reactivate"} << QPoint(0, 0) << -1 << false;
    // Without a mouse: Space selects the row the cell cursor is on.
    QTest::newRow("arrow, then space") << 0 << Texts{"Down", "Space"} << QPoint(0, 1) << 1 << true;
    QTest::newRow("shift+space") << 0 << Texts{"cell 2 3", "Shift+Space"} << QPoint(0, 2) << 2 << true;
    // A long log: its last entry is reached, shown and opened like any other.
    QTest::newRow("long") << 20000 << Texts{"Ctrl+End", "selector 20003"} << QPoint(0, 20003) << 20003
                          << true;
}

void UebersichtTest::cursorAndSelection()
{
    QFETCH(int, generated);
    QFETCH(Texts, actions);
    QFETCH(QPoint, cursor);
    QFETCH(int, selectedRow);
    QFETCH(bool, enabled);

    OverviewFixture f(fourEntries);
    if (generated)
        f.log.appendMany(QStringLiteral("Auto"), generated);
    QVERIFY(f.open());
    QCOMPARE(f.rowCount(), 4 + generated);
    QVERIFY(!f.command1()->isEnabled());
    for (const QString &action : actions) {
        const Texts parts = action.split(QLatin1Char(' '));
        if (parts[0] == QLatin1String("selector"))
            f.clickRecordSelector(parts[1].toInt());
        else if (parts[0] == QLatin1String("cell"))
            f.clickCell(parts[1].toInt(), parts[2].toInt());
        else if (action == QLatin1String("reactivate"))
            QVERIFY(f.reactivate());
        else
            QTest::keySequence(f.grid(), QKeySequence(action));
    }
    QCOMPARE(f.grid()->currentIndex(), f.grid()->model()->index(cursor.y(), cursor.x()));
    QCOMPARE(f.position(), cursor.y());
    QCOMPARE(f.cell(cursor.y(), 1), f.log.rows(QStringLiteral("Auto")).at(cursor.y()).at(1));
    QVERIFY(!f.grid()->indexWidget(f.grid()->currentIndex())); // no cell editor open
    const QModelIndexList selected = f.grid()->selectionModel()->selectedRows();
    QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), selectedRow);
    QCOMPARE(f.command1()->isEnabled(), enabled);

    QSignalSpy requested(f.window.get(), &Uebersicht::bearbeitenRequested);
    QTest::mouseClick(f.command1(), Qt::LeftButton);
    QCOMPARE(requested.size(), enabled ? 1 : 0);
    QCOMPARE(f.window->Datensatznummer, enabled ? QVariant(cursor.y()) : QVariant());
    QCOMPARE(f.window->Datensatznummer.typeId(), enabled ? QMetaType::Int : QMetaType::UnknownType);
    QVERIFY(!f.command1()->isEnabled()); // until the next record-selector click
}

void UebersichtTest::oneWindowAtATime()
{
    OverviewFixture f(fourEntries.mid(0, 1));
    const auto make = [] { return new Uebersicht([] { return QStringLiteral("Auto"); }); };
    toolkit::SingleWindow<Uebersicht> overview;
    Uebersicht *first = overview.show(make);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(overview.show(make), first);
    const auto isOverview = [](QWidget *w) { return qobject_cast<Uebersicht *>(w) != nullptr; };
    QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(), isOverview), std::ptrdiff_t(1));

    // Closing from the title bar unloads it; the next showing starts afresh.
    OverviewFixture::clickRecordSelector(first, 0);
    QVERIFY(first->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
    first->close();
    QTRY_VERIFY(!overview.get());
    Uebersicht *second = overview.show(make);
    QVERIFY(QTest::qWaitForWindowActive(second));
    QVERIFY(!second->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
}

void UebersichtTest::layout_data()
{
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");

    QTest::newRow("DBGrid1") << QRect(120, 960, 6975, 2775) << "MS Sans Serif" << 9.75;
    QTest::newRow("Label1") << QRect(120, 240, 6975, 615) << "Arial" << 27.75;
    QTest::newRow("Label2") << QRect(240, 3840, 1695, 495) << "MS Sans Serif" << 9.75;
    QTest::newRow("Label3") << QRect(2880, 3840, 1815, 495) << "Arial" << 9.75;
    QTest::newRow("Label4") << QRect(5520, 3840, 1575, 495) << "Arial" << 9.75;
    QTest::newRow("Label5") << QRect(240, 4440, 1695, 375) << "Arial" << 12.0;
    QTest::newRow("Label6") << QRect(2880, 4440, 1815, 375) << "Arial" << 12.0;
    QTest::newRow("Label7") << QRect(5520, 4440, 1575, 375) << "Arial" << 12.0;
    QTest::newRow("Command1") << QRect(240, 4920, 6855, 375) << "Arial" << 14.25;
}

void UebersichtTest::layout()
{
    QFETCH(QRect, twips);
    QFETCH(QString, family);
    QFETCH(double, points);

    Uebersicht window([] { return QStringLiteral("Auto"); });
    const auto *control = window.findChild<QWidget *>(QLatin1String(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15));
    QCOMPARE(control->font().family(), family);
    QCOMPARE(control->font().pointSizeF(), points);
    QVERIFY(control->font().bold());
}

void UebersichtTest::picture()
{
    OverviewFixture f({{"01.03.2024", "612", "45,5", "7,43"},
                       {"15.03.2024", "580,5", "41,2", "7,09"},
                       {"02.04.2024", "633", "47", "7,42"}});
    QVERIFY(f.open());
    f.clickRecordSelector(1);
    QCOMPARE(f.window->objectName(), QStringLiteral("Übersicht"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Übersicht"));
    QVERIFY(!f.window->windowIcon().isNull());
    QCOMPARE(f.window->size(), QSize(489, 359));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    // Centred on the screen.
    const QPoint offCentre =
        f.window->frameGeometry().center() - f.window->screen()->availableGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 1);
    const QString folder = qEnvironmentVariable("TANKVERZEHR_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(f.window->grab().save(QDir(folder).filePath(QStringLiteral("overview.png"))));
}

QTEST_MAIN(UebersichtTest)
#include "UebersichtTest.moc"

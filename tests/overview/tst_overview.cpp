// The overview window as the user sees it: totals, average, vehicle name and the listed log, what
// it shows when parts of the log are missing, and the grid's cell cursor and row selection.
#include "Activation.h"
#include "DataControl.h"
#include "LogGrid.h"
#include "LogNames.h"
#include "MessageRecorder.h"
#include "OverviewWindow.h"
#include "TestLog.h"
#include "User.h"

#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using Texts = QStringList;
using Entries = QList<QStringList>;

namespace {

const Entries fourEntries{{"01.03.2024", "100", "7", "7"},
                          {"02.03.2024", "200", "15", "7,5"},
                          {"03.03.2024", "300", "20", "6,66"},
                          {"04.03.2024", "400", "30", "7,5"}};

// A log of the test's own and the overview window opened on it, with the user's actions on it.
struct Fixture {
    TestLog log;
    QString vehicle = QStringLiteral("Auto");
    // Declared after the log: the window's data control holds the log file open.
    std::unique_ptr<overview::OverviewWindow> window;
    QWidget otherWindow;

    explicit Fixture(const Entries &carLog = {}) { log.record(QStringLiteral("Auto"), carLog); }
    // Creates the window and makes it active, which reads the log; waits for that unless a
    // message box is expected to take the focus on the way.
    bool open(bool wait = true)
    {
        window = std::make_unique<overview::OverviewWindow>([this] { return vehicle; });
        if (wait)
            return user::activate(window.get());
        window->show();
        window->activateWindow();
        return true;
    }
    // The user goes to another window of the program and comes back.
    bool reactivate() { return user::activate(&otherWindow) && user::activate(window.get()); }
    // The vehicle name, total kilometres, total litres and average.
    Texts values() const
    {
        return user::texts(window.get(), {"vehicleName", "totalKilometres", "totalLitres", "average"});
    }
    overview::LogGrid *grid() const { return window->findChild<overview::LogGrid *>(); }
    // Whether the record selector of `row` shows the arrow that marks the current row.
    bool arrowAt(int row) const
    {
        QHeaderView *selectors = grid()->verticalHeader();
        const int y = selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2;
        const QColor middle = selectors->grab().toImage().pixelColor(selectors->width() / 2, y);
        return middle == selectors->palette().color(QPalette::WindowText);
    }
    QPushButton *edit() const { return user::control<QPushButton>(window.get(), "edit"); }
    Entries listed() const
    {
        Entries rows;
        for (int row = 0; grid()->model() && row < grid()->model()->rowCount(); ++row) {
            rows << Texts();
            for (int column = 0; column < 4; ++column)
                rows.last() << grid()->model()->index(row, column).data().toString();
        }
        return rows;
    }
};

} // namespace

class OverviewTest : public QObject {
    Q_OBJECT
private slots:
    void totals_data()
    {
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<Texts>("carLog");   // kilometres and litres of each entry
        QTest::addColumn<Texts>("values");   // vehicle name, total kilometres, total litres, average
        QTest::addColumn<QString>("damage"); // statements run on the log first
        QTest::addColumn<bool>("told");      // a message: the log cannot be listed

        // The log "Motorrad" always holds one entry: 180 km, 6,3 l.
        const Texts car{"100", "7"};
        const Texts motorcycle{"Motorrad", "180", "6,3", "3,5"};
        // clang-format off
        QTest::newRow("average cut, not rounded") << "Auto" << Texts{"100", "7", "200", "15"} << Texts{"Auto", "300", "22", "7,33"} << "" << false;
        QTest::newRow("motorcycle") << "Motorrad" << car << motorcycle << "" << false;
        QTest::newRow("empty log: no average") << "Auto" << Texts{} << Texts{"Auto", "0", "0", ""} << "" << false;
        // Only the exact text "Auto" chooses the car's totals and name, while the grid lists the log
        // named by the text itself; log names are matched exactly, so "auto" names no log.
        QTest::newRow("lower case") << "auto" << car << motorcycle << "" << true;
        // The totals cannot be read: the fields keep their texts.
        QTest::newRow("summary missing") << "Auto" << car << Texts{"", "Label5", "Label6", "Label7"} << "DROP VIEW Autogesamt" << true;
        // clang-format on
    }

    void totals()
    {
        QFETCH(QString, vehicle);
        QFETCH(Texts, carLog);
        QFETCH(Texts, values);
        QFETCH(QString, damage);
        QFETCH(bool, told);

        Fixture f;
        for (int i = 0; i < carLog.size(); i += 2)
            f.log.record(QStringLiteral("Auto"), {{"01.03.2024", carLog[i], carLog[i + 1], "7"}});
        f.log.record(QStringLiteral("Motorrad"), {{"03.03.2024", "180", "6,3", "3,5"}});
        if (!damage.isEmpty())
            TestLog::query(f.log.path(), damage);
        // Real message boxes, closed by the "user" as soon as they appear.
        Texts boxes;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&boxes] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->accept();
            }
        });
        user.start(20);
        f.vehicle = vehicle;
        f.open(false);
        QTRY_COMPARE(boxes.size(), told ? 1 : 0);
        // The window gets the focus back when the box closes: that must not read the log again
        // (which would fail again and show the box again, without end).
        QTRY_VERIFY(f.window->isActiveWindow());
        QTRY_VERIFY(!toolkit::Activation::isSettling());
        QCOMPARE(boxes.size(), told ? 1 : 0);

        QCOMPARE(f.values(), values);
        QCOMPARE(f.listed(), told ? Entries{} : f.log.rows(vehicle));
        // A heading wider than its place is broken into lines rather than cut off.
        for (const char *name : {"vehicleName", "kilometresHeading", "litresHeading", "averageHeading"}) {
            const auto *heading = user::control<QLabel>(f.window.get(), name);
            QVERIFY2(heading->minimumSizeHint().width() <= heading->width(), name);
        }
        QVERIFY(!f.edit()->isEnabled());
        // Each real return to the window reads the log again and tells once more.
        QVERIFY(f.reactivate());
        QTRY_COMPARE(boxes.size(), told ? 2 : 0);
    }

    void changedLogShownOnNextActivation()
    {
        Fixture f(fourEntries.mid(0, 3));
        QVERIFY(f.open());
        user::clickRecordSelector(f.grid(), 0);

        // Another window deletes the second entry; nothing changes before the window is activated again.
        TestLog::query(f.log.path(), QStringLiteral("DELETE FROM \"Auto\" WHERE rowid = 2"));
        QCOMPARE(f.listed().size(), 3);
        QVERIFY(f.reactivate());
        QCOMPARE(f.listed(), (Entries{fourEntries[0], fourEntries[2]}));
        QCOMPARE(f.values(), (Texts{"Auto", "400", "27", "6,75"}));

        // The last entries go: the totals fall to 0 and the grid is emptied, not left as it was.
        TestLog::query(f.log.path(), QStringLiteral("DELETE FROM \"Auto\""));
        QVERIFY(f.reactivate());
        QCOMPARE(f.listed(), Entries{});
        QCOMPARE(f.values(), (Texts{"Auto", "0", "0", ""}));
        // "Bearbeiten" is still enabled, but with no row to open it tells the user instead.
        QVERIFY(f.edit()->isEnabled());
        QSignalSpy requested(f.window.get(), &overview::OverviewWindow::editRequested);
        const MessageRecorder messages;
        QTest::mouseClick(f.edit(), Qt::LeftButton);
        QCOMPARE(requested.size(), 0);
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(!f.window->chosenEntry());
    }

    void cursorAndSelection_data()
    {
        QTest::addColumn<int>("generated"); // entries added to the four of the log
        QTest::addColumn<Texts>("actions"); // "selector <row>", "cell <row> <column>", a key or "reactivate"
        QTest::addColumn<QPoint>("cursor"); // (column, row)
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<bool>("enabled");

        // clang-format off
        QTest::newRow("nothing done") << 0 << Texts{} << QPoint(0, 0) << -1 << false;
        QTest::newRow("right at row end wraps") << 0 << Texts{"cell 0 3", "Right"} << QPoint(0, 1) << -1 << false;
        QTest::newRow("left at row start wraps") << 0 << Texts{"cell 2 0", "Left"} << QPoint(3, 1) << -1 << false;
        QTest::newRow("cells cannot be edited") << 0 << Texts{"cell 1 1", "F2", "9"} << QPoint(1, 1) << -1 << false;
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
        QTest::newRow("long") << 20000 << Texts{"Ctrl+End", "selector 20003"} << QPoint(0, 20003) << 20003 << true;
        // clang-format on
    }

    void cursorAndSelection()
    {
        QFETCH(int, generated);
        QFETCH(Texts, actions);
        QFETCH(QPoint, cursor);
        QFETCH(int, selectedRow);
        QFETCH(bool, enabled);

        Fixture f(fourEntries);
        f.log.appendMany(QStringLiteral("Auto"), generated);
        QVERIFY(f.open());
        QVERIFY(!f.edit()->isEnabled());
        for (const QString &action : actions) {
            const Texts parts = action.split(QLatin1Char(' '));
            if (parts[0] == QLatin1String("selector")) {
                user::clickRecordSelector(f.grid(), parts[1].toInt());
            } else if (parts[0] == QLatin1String("cell")) {
                const QModelIndex cell = f.grid()->model()->index(parts[1].toInt(), parts[2].toInt());
                QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {},
                                  f.grid()->visualRect(cell).center());
            } else if (action == QLatin1String("reactivate"))
                QVERIFY(f.reactivate());
            else
                QTest::keySequence(f.grid(), QKeySequence(action));
        }
        QCOMPARE(f.grid()->currentIndex(), f.grid()->model()->index(cursor.y(), cursor.x()));
        QVERIFY(f.arrowAt(cursor.y()) && !f.arrowAt(cursor.y() > 0 ? cursor.y() - 1 : 1));
        QCOMPARE(f.window->findChild<logstore::DataControl *>()->absolutePosition(), cursor.y());
        QVERIFY(!f.grid()->indexWidget(f.grid()->currentIndex())); // no cell editor open
        const QModelIndexList selected = f.grid()->selectionModel()->selectedRows();
        QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), selectedRow);
        QCOMPARE(f.edit()->isEnabled(), enabled);

        QSignalSpy requested(f.window.get(), &overview::OverviewWindow::editRequested);
        QTest::mouseClick(f.edit(), Qt::LeftButton);
        QCOMPARE(requested.size(), enabled ? 1 : 0);
        QCOMPARE(f.window->chosenEntry(), enabled ? std::optional(cursor.y()) : std::nullopt);
        QVERIFY(!f.edit()->isEnabled()); // until the next selection
    }
};

QTEST_MAIN(OverviewTest)
#include "tst_overview.moc"

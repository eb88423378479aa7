// The overview window as the user sees it: totals, average, vehicle name, the listed log, and
// what it shows when the log file or parts of it are missing.
#include "MessageRecorder.h"
#include "OverviewFixture.h"
#include "TestLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <SingleWindow.h>

using Entries = QList<QStringList>;

class UebersichtTest : public QObject {
    Q_OBJECT
private slots:
    void totalsAndAverage_data();
    void totalsAndAverage();
    void vehicleChoice_data();
    void vehicleChoice();
    void changedLogShownOnNextActivation();
    void failures_data();
    void failures();
    void bearbeitenOnEmptiedLogRefused();
    void closingTheMessageIsNoActivation();
    void oneWindowAtATime();
    void layout_data();
    void layout();
    void picture();
};

namespace {
void appendAll(TestLog &log, const QString &table, const Entries &entries)
{
    for (const QStringList &entry : entries)
        log.append(table, entry);
}

// Changes the test's own log file behind the program's back.
bool alterLog(const QString &path, const QString &statement)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("alter"));
        db.setDatabaseName(path);
        ok = db.open() && QSqlQuery(db).exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("alter"));
    return ok;
}
} // namespace

void UebersichtTest::totalsAndAverage_data()
{
    QTest::addColumn<QString>("fahrzeug");
    QTest::addColumn<Entries>("carLog");
    QTest::addColumn<Entries>("motorcycleLog");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("average");

    const Entries none;
    QTest::newRow("two entries, cut to two decimals")
        << "Auto" << Entries{{"01.03.2024", "100", "7", "7"}, {"02.03.2024", "200", "15", "7,5"}} << none
        << "300"
        << "22"
        << "7,33";
    QTest::newRow("cut, not rounded")
        << "Auto" << Entries{{"01.03.2024", "300", "20", "6,66"}} << none << "300"
        << "20"
        << "6,66";
    QTest::newRow("one decimal stays")
        << "Auto" << Entries{{"01.03.2024", "400", "30", "7,5"}} << none << "400"
        << "30"
        << "7,5";
    QTest::newRow("whole number has no comma")
        << "Auto" << Entries{{"01.03.2024", "400", "20", "5"}} << none << "400"
        << "20"
        << "5";
    QTest::newRow("decimal commas in the totals")
        << "Auto" << Entries{{"01.03.2024", "600", "45,5", "7,58"}} << none << "600"
        << "45,5"
        << "7,58";
    QTest::newRow("motorcycle") << "Motorrad" << Entries{{"01.03.2024", "400", "20", "5"}}
                                << Entries{{"01.03.2024", "180", "6,3", "3,5"}} << "180"
                                << "6,3"
                                << "3,5";
    QTest::newRow("empty log: no average")
        << "Auto" << none << Entries{{"01.03.2024", "180", "6,3", "3,5"}} << "0"
        << "0"
        << "";
    QTest::newRow("no kilometres: no average")
        << "Auto" << Entries{{"01.03.2024", "0", "5", ""}} << none << "0"
        << "5"
        << "";
}

void UebersichtTest::totalsAndAverage()
{
    QFETCH(QString, fahrzeug);
    QFETCH(Entries, carLog);
    QFETCH(Entries, motorcycleLog);
    QFETCH(QString, kilometres);
    QFETCH(QString, litres);
    QFETCH(QString, average);

    TestLog log;
    appendAll(log, QStringLiteral("Auto"), carLog);
    appendAll(log, QStringLiteral("Motorrad"), motorcycleLog);
    MessageRecorder messages;
    OverviewFixture f;
    f.fahrzeug = fahrzeug;
    QVERIFY(f.open());

    QCOMPARE(f.label("Label5"), kilometres);
    QCOMPARE(f.label("Label6"), litres);
    QCOMPARE(f.label("Label7"), average);
    // The vehicle is named and its log listed even when no average can be computed.
    QCOMPARE(f.label("Label1"), fahrzeug);
    const Entries listed = fahrzeug == QLatin1String("Auto") ? carLog : motorcycleLog;
    QCOMPARE(f.rowCount(), listed.size());
    for (int row = 0; row < listed.size(); ++row)
        QCOMPARE(f.cell(row, 1), log.rows(fahrzeug).at(row).at(1));
    QCOMPARE(messages.shown().size(), 0);
}

void UebersichtTest::vehicleChoice_data()
{
    QTest::addColumn<QString>("fahrzeug");
    QTest::addColumn<QString>("vehicleName");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<int>("listedRows");
    QTest::addColumn<int>("messages");

    // The log "Auto" holds two entries (300 km), "Motorrad" one (180 km).
    QTest::newRow("Auto") << "Auto"
                          << "Auto"
                          << "300" << 2 << 0;
    QTest::newRow("Motorrad") << "Motorrad"
                              << "Motorrad"
                              << "180" << 1 << 0;
    // Only the exact text "Auto" chooses the car's totals and name; the grid lists the log named
    // by the text itself. Log names are matched exactly, so "auto" names no log: the totals and
    // the name are shown, the grid stays empty and the user is told once.
    QTest::newRow("lower case") << "auto"
                                << "Motorrad"
                                << "180" << 0 << 1;
    QTest::newRow("empty") << ""
                           << "Motorrad"
                           << "180" << 0 << 1;
}

void UebersichtTest::vehicleChoice()
{
    QFETCH(QString, fahrzeug);
    QFETCH(QString, vehicleName);
    QFETCH(QString, kilometres);
    QFETCH(int, listedRows);
    QFETCH(int, messages);

    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.03.2024", "100", "7", "7"});
    log.append(QStringLiteral("Auto"), {"02.03.2024", "200", "15", "7,5"});
    log.append(QStringLiteral("Motorrad"), {"03.03.2024", "180", "6,3", "3,5"});
    MessageRecorder recorder;
    OverviewFixture f;
    f.fahrzeug = fahrzeug;
    QVERIFY(f.open());

    QCOMPARE(f.label("Label1"), vehicleName);
    QCOMPARE(f.label("Label5"), kilometres);
    QCOMPARE(f.rowCount(), listedRows);
    QCOMPARE(recorder.shown().size(), messages);
    if (messages)
        QCOMPARE(recorder.shown().first().title, QStringLiteral("Tankverzehr"));
}

void UebersichtTest::changedLogShownOnNextActivation()
{
    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.03.2024", "100", "7", "7"});
    log.append(QStringLiteral("Auto"), {"02.03.2024", "200", "15", "7,5"});
    log.append(QStringLiteral("Auto"), {"03.03.2024", "300", "20", "6,66"});
    OverviewFixture f;
    QVERIFY(f.open());
    QCOMPARE(f.rowCount(), 3);
    QCOMPARE(f.label("Label5"), QStringLiteral("600"));

    // Another window (the editor) deletes the second entry.
    {
        logstore::DataControl other;
        other.setDatabaseName(log.path());
        other.setRecordSource(QStringLiteral("Auto"));
        other.refresh();
        other.setAbsolutePosition(1);
        other.deleteCurrent();
    }
    QCOMPARE(f.rowCount(), 3); // nothing changes before the window is activated again

    QVERIFY(f.reactivate());
    QCOMPARE(f.rowCount(), 2);
    QCOMPARE(f.cell(1, 0), QStringLiteral("03.03.2024"));
    QCOMPARE(f.label("Label5"), QStringLiteral("400"));
    QCOMPARE(f.label("Label6"), QStringLiteral("27"));
    QCOMPARE(f.label("Label7"), QStringLiteral("6,75"));

    // The last entries go: the totals fall to 0 and the grid is emptied, not left as it was.
    log.append(QStringLiteral("Motorrad"), {"04.03.2024", "180", "6,3", "3,5"});
    QVERIFY(alterLog(log.path(), QStringLiteral("DELETE FROM \"Auto\"")));
    QVERIFY(f.reactivate());
    QCOMPARE(f.rowCount(), 0);
    QCOMPARE(f.label("Label5"), QStringLiteral("0"));
    QCOMPARE(f.label("Label7"), QString());
}

void UebersichtTest::failures_data()
{
    QTest::addColumn<QString>("fahrzeug");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("vehicleName");
    QTest::addColumn<int>("listedRows");

    // The totals cannot be read: the captions keep their texts, nothing is listed.
    QTest::newRow("file missing") << "Auto"
                                  << "remove"
                                  << "Label5"
                                  << "" << 0;
    QTest::newRow("not a database") << "Auto"
                                    << "text"
                                    << "Label5"
                                    << "" << 0;
    QTest::newRow("summary missing") << "Auto"
                                     << "DROP VIEW \"Autogesamt\""
                                     << "Label5"
                                     << "" << 0;
    // The totals are read, the log is not: everything but the grid is new.
    QTest::newRow("log missing") << "Motorrad"
                                 << "DROP VIEW \"Motorradgesamt\"; DROP TABLE \"Motorrad\"; CREATE VIEW "
                                    "\"Motorradgesamt\" AS SELECT 5, 2"
                                 << "5"
                                 << "Motorrad" << 0;
}

void UebersichtTest::failures()
{
    QFETCH(QString, fahrzeug);
    QFETCH(QString, damage);
    QFETCH(QString, kilometres);
    QFETCH(QString, vehicleName);
    QFETCH(int, listedRows);

    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.03.2024", "100", "7", "7"});
    if (damage == QLatin1String("remove")) {
        QVERIFY(QFile::remove(log.path()));
    } else if (damage == QLatin1String("text")) {
        QFile file(log.path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("Tankbuch\nkeine Datenbank\n");
    } else {
        for (const QString &statement : damage.split(QStringLiteral("; ")))
            QVERIFY(alterLog(log.path(), statement));
    }

    MessageRecorder recorder;
    OverviewFixture f;
    f.fahrzeug = fahrzeug;
    QVERIFY(f.open());
    QCOMPARE(recorder.shown().size(), 1);
    QCOMPARE(recorder.shown().first().title, QStringLiteral("Tankverzehr"));
    QVERIFY(!recorder.shown().first().prompt.isEmpty());
    QCOMPARE(f.label("Label5"), kilometres);
    QCOMPARE(f.label("Label1"), vehicleName);
    QCOMPARE(f.rowCount(), listedRows);
    QVERIFY(!f.command1()->isEnabled());
    // The program creates no file.
    if (damage == QLatin1String("remove"))
        QVERIFY(!QFile::exists(log.path()));

    // Each real return to the window tries again and tells once more.
    QVERIFY(f.reactivate());
    QCOMPARE(recorder.shown().size(), 2);
}

void UebersichtTest::bearbeitenOnEmptiedLogRefused()
{
    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.03.2024", "100", "7", "7"});
    MessageRecorder recorder;
    OverviewFixture f;
    QVERIFY(f.open());
    f.clickRecordSelector(0);
    QVERIFY(f.command1()->isEnabled());

    QVERIFY(alterLog(log.path(), QStringLiteral("DELETE FROM \"Auto\"")));
    QVERIFY(f.reactivate());
    QCOMPARE(f.rowCount(), 0);
    QVERIFY(f.command1()->isEnabled());

    QSignalSpy requested(f.window.get(), &Uebersicht::bearbeitenRequested);
    QTest::mouseClick(f.command1(), Qt::LeftButton);
    QCOMPARE(requested.size(), 0);
    QCOMPARE(recorder.shown().size(), 1);
    QVERIFY(!f.window->Datensatznummer.isValid());
}

void UebersichtTest::closingTheMessageIsNoActivation()
{
    TestLog log;
    QVERIFY(QFile::remove(log.path()));
    // Real message boxes this time, closed by the "user" as soon as they appear.
    int closed = 0;
    QTimer user;
    user.setInterval(20);
    connect(&user, &QTimer::timeout, this, [&closed] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++closed;
            box->accept();
        }
    });
    user.start();

    OverviewFixture f;
    f.window = std::make_unique<Uebersicht>([] { return QStringLiteral("Auto"); });
    f.window->show();
    f.window->activateWindow();
    QTRY_COMPARE(closed, 1);
    // The window system hands the focus back to the window when the box closes; that must not
    // read the log again (which would fail again and show the box again, without end).
    f.window->activateWindow();
    QTRY_VERIFY(f.window->isActiveWindow());
    QCOMPARE(closed, 1);

    // The user's own return to the window reads again and tells again, once.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f.window->activateWindow();
    QTRY_COMPARE(closed, 2);
    f.window->activateWindow();
    QTRY_VERIFY(f.window->isActiveWindow());
    QCOMPARE(closed, 2);
}

void UebersichtTest::oneWindowAtATime()
{
    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.03.2024", "100", "7", "7"});
    const auto make = [] { return new Uebersicht([] { return QStringLiteral("Auto"); }); };
    toolkit::SingleWindow<Uebersicht> overview;
    Uebersicht *first = overview.show(make);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(overview.show(make), first);
    int windows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        windows += qobject_cast<Uebersicht *>(widget) != nullptr;
    QCOMPARE(windows, 1);

    // Closing from the title bar unloads it; the next showing starts afresh.
    auto *command1 = first->findChild<QPushButton *>(QStringLiteral("Command1"));
    auto *grid = first->findChild<LogGrid *>(QStringLiteral("DBGrid1"));
    QHeaderView *selectors = grid->verticalHeader();
    QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                      QPoint(selectors->width() / 2, selectors->sectionSize(0) / 2));
    QVERIFY(command1->isEnabled());
    first->close();
    QTRY_VERIFY(!overview.get());
    Uebersicht *second = overview.show(make);
    QVERIFY(QTest::qWaitForWindowActive(second));
    QVERIFY(!second->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
    QCOMPARE(second->findChild<QLabel *>(QStringLiteral("Label5"))->text(), QStringLiteral("100"));
}

void UebersichtTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");

    const QString arial = QStringLiteral("Arial");
    const QString sans = QStringLiteral("MS Sans Serif");
    QTest::newRow("DBGrid1") << "DBGrid1" << QRect(120, 960, 6975, 2775) << sans << 9.75 << true;
    QTest::newRow("Label1") << "Label1" << QRect(120, 240, 6975, 615) << arial << 27.75 << true;
    QTest::newRow("Label2") << "Label2" << QRect(240, 3840, 1695, 495) << sans << 9.75 << true;
    QTest::newRow("Label3") << "Label3" << QRect(2880, 3840, 1815, 495) << arial << 9.75 << true;
    QTest::newRow("Label4") << "Label4" << QRect(5520, 3840, 1575, 495) << arial << 9.75 << true;
    QTest::newRow("Label5") << "Label5" << QRect(240, 4440, 1695, 375) << arial << 12.0 << true;
    QTest::newRow("Label6") << "Label6" << QRect(2880, 4440, 1815, 375) << arial << 12.0 << true;
    QTest::newRow("Label7") << "Label7" << QRect(5520, 4440, 1575, 375) << arial << 12.0 << true;
    QTest::newRow("Command1") << "Command1" << QRect(240, 4920, 6855, 375) << arial << 14.25 << true;
}

void UebersichtTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);

    TestLog log;
    Uebersicht window([] { return QStringLiteral("Auto"); });
    QCOMPARE(window.objectName(), QStringLiteral("Übersicht"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Übersicht"));
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.size(), QSize(489, 359));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const auto *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(control->font().family(), family);
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
}

void UebersichtTest::picture()
{
    TestLog log;
    log.append(QStringLiteral("Auto"), {"01.03.2024", "612", "45,5", "7,43"});
    log.append(QStringLiteral("Auto"), {"15.03.2024", "580,5", "41,2", "7,09"});
    log.append(QStringLiteral("Auto"), {"02.04.2024", "633", "47", "7,42"});
    log.append(QStringLiteral("Auto"), {"20.04.2024", "598", "44,8", "7,49"});
    OverviewFixture f;
    QVERIFY(f.open());
    f.clickRecordSelector(1);
    QVERIFY(f.command1()->isEnabled());
    // Centred on the screen.
    const QPoint offCentre =
        f.window->frameGeometry().center() - f.window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 1,
             qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));

    const QString folder = qEnvironmentVariable("TANKVERZEHR_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(f.window->grab().save(QDir(folder).filePath(QStringLiteral("overview.png"))));
}

QTEST_MAIN(UebersichtTest)
#include "UebersichtTest.moc"

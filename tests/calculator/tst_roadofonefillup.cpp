// One fill-up from typing to correcting, through all three windows as the user meets them:
// choose the motorcycle, calculate, open the overview, pick the new entry, correct its litres
// in the editor and store it. The log file is checked after every step.
#include "Clock.h"
#include "MessageRecorder.h"
#include "Tankverzehrsberechnung.h"
#include "TestLog.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

QWidget *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

template <typename T> T *in(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

void clickRecordSelector(QTableView *grid, int row)
{
    QHeaderView *selectors = grid->verticalHeader();
    QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                      QPoint(selectors->width() / 2,
                             selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2));
}

} // namespace

class RoadOfOneFillUpTest : public QObject {
    Q_OBJECT
private slots:
    void roadOfOneFillUp();
    void overviewOpensOnce();
};

void RoadOfOneFillUpTest::roadOfOneFillUp()
{
    TestLog log;
    MessageRecorder messages;
    toolkit::Clock::setFixedToday(QDate(2026, 12, 6));
    const QString today = QStringLiteral("06.12.2026");
    log.append(QStringLiteral("Motorrad"), {"01.11.2026", "200", "8", "4"});
    log.append(QStringLiteral("Auto"), {"02.11.2026", "600", "42", "7"});

    Tankverzehrsberechnung main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));

    // 1. The motorcycle.
    auto *combo = in<QComboBox>(&main, "Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(main.Fahrzeug, QStringLiteral("Motorrad"));
    QCOMPARE(log.count(QStringLiteral("Motorrad")), 1);

    // 2. and 3. Litres and kilometres, calculated and recorded in the motorcycle's log.
    QTest::keyClicks(in<QLineEdit>(&main, "Text1"), QStringLiteral("6,3"));
    QTest::keyClicks(in<QLineEdit>(&main, "Text2"), QStringLiteral("180"));
    QTest::keyClick(&main, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(in<QLabel>(&main, "Label5")->text(),
                 QStringLiteral("Sie haben  3,5  Liter pro 100 km verbraucht !"));
    QCOMPARE(in<QPushButton>(&main, "Command1")->text(), QStringLiteral("&Nochmal"));
    const QList<QStringList> recorded{{"01.11.2026", "200", "8", "4"}, {today, "180", "6,3", "3,5"}};
    QCOMPARE(log.rows(QStringLiteral("Motorrad")), recorded);
    QCOMPARE(log.count(QStringLiteral("Auto")), 1);

    // 4. The overview reads the motorcycle's totals and lists its log.
    QTest::mouseClick(in<QPushButton>(&main, "Command2"), Qt::LeftButton);
    QWidget *overview = topLevel(QStringLiteral("Übersicht"));
    QVERIFY(overview);
    QVERIFY(QTest::qWaitForWindowActive(overview));
    QTRY_COMPARE(in<QLabel>(overview, "Label1")->text(), QStringLiteral("Motorrad"));
    QCOMPARE(in<QLabel>(overview, "Label5")->text(), QStringLiteral("380"));
    QCOMPARE(in<QLabel>(overview, "Label6")->text(), QStringLiteral("14,3"));
    QCOMPARE(in<QLabel>(overview, "Label7")->text(), QStringLiteral("3,76"));
    auto *grid = in<QTableView>(overview, "DBGrid1");
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(log.rows(QStringLiteral("Motorrad")), recorded);

    // 5. The new entry, chosen by its record selector, opens in the editor.
    auto *bearbeiten = in<QPushButton>(overview, "Command1");
    QVERIFY(!bearbeiten->isEnabled());
    clickRecordSelector(grid, 1);
    QVERIFY(bearbeiten->isEnabled());
    QTest::mouseClick(bearbeiten, Qt::LeftButton);
    QWidget *editor = topLevel(QStringLiteral("Bearbeiten1"));
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowActive(editor));
    QTRY_COMPARE(in<QLineEdit>(editor, "Text1")->text(), today);
    QCOMPARE(in<QLineEdit>(editor, "Text2")->text(), QStringLiteral("6,3"));
    QCOMPARE(in<QLineEdit>(editor, "Text3")->text(), QStringLiteral("3,5"));
    QCOMPARE(in<QLineEdit>(editor, "Text4")->text(), QStringLiteral("180"));
    QVERIFY(!bearbeiten->isEnabled());

    // 6. The litres corrected: the consumption follows each key, and the entry is stored.
    auto *litres = in<QLineEdit>(editor, "Text2");
    litres->setFocus();
    litres->selectAll();
    QTest::keyClick(litres, Qt::Key_9);
    QCOMPARE(in<QLineEdit>(editor, "Text3")->text(), QStringLiteral("5"));
    QTest::mouseClick(in<QPushButton>(editor, "Command1"), Qt::LeftButton);
    QTRY_VERIFY(!editor->isVisible());
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(log.rows(QStringLiteral("Motorrad")),
             (QList<QStringList>{{"01.11.2026", "200", "8", "4"}, {today, "180", "9", "5"}}));

    // 7. The overview is active again and shows the corrected log.
    QVERIFY(QTest::qWaitForWindowActive(overview));
    QTRY_COMPARE(in<QLabel>(overview, "Label6")->text(), QStringLiteral("17"));
    QCOMPARE(in<QLabel>(overview, "Label7")->text(), QStringLiteral("4,47"));
    QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("9"));
    QCOMPARE(log.count(QStringLiteral("Auto")), 1);
    toolkit::Clock::setFixedToday(std::nullopt);
}

void RoadOfOneFillUpTest::overviewOpensOnce()
{
    TestLog log;
    MessageRecorder messages;
    Tankverzehrsberechnung main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    auto *command2 = in<QPushButton>(&main, "Command2");
    QTest::mouseClick(command2, Qt::LeftButton);
    QWidget *first = topLevel(QStringLiteral("Übersicht"));
    QVERIFY(first);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::mouseClick(command2, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(first));

    int overviews = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        overviews += widget->objectName() == QStringLiteral("Übersicht");
    QCOMPARE(overviews, 1);
    QVERIFY(messages.shown().isEmpty());
}

QTEST_MAIN(RoadOfOneFillUpTest)
#include "tst_roadofonefillup.moc"

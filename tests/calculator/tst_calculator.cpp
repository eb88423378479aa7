// The main window driven as a user drives it: the vehicle choice, the calculation with its
// refusals and failures, the two-state button and the recording of every result.
#include "MessageRecorder.h"
#include "Program.h"

#include <QComboBox>

namespace {

const QString today = QStringLiteral("07.12.2026");
const QString noResult = QStringLiteral("Zur Zeit keine Daten");

QString resultLine(const QString &consumption)
{
    return QStringLiteral("Sie haben  ") + consumption + QStringLiteral("  Liter pro 100 km verbraucht !");
}

// The button's caption, the result line, the litres and the kilometres.
QStringList state(calculator::CalculatorWindow &main)
{
    return QStringList{user::control<QPushButton>(&main, "calculate")->text()} +
           user::texts(&main, {"result", "litres", "kilometres"});
}

} // namespace

class CalculatorTest : public QObject {
    Q_OBJECT
private slots:
    void startUp()
    {
        Program program;
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        auto *vehicles = user::control<QComboBox>(&program.main, "vehicles");
        QCOMPARE(vehicles->count(), 2);
        QCOMPARE(vehicles->itemText(0), QStringLiteral("    Auto"));
        QCOMPARE(vehicles->itemText(1), QStringLiteral("Motorrad"));
        QCOMPARE(program.main.vehicle(), QStringLiteral("Auto"));
        QCOMPARE(state(program.main), (QStringList{"&Berechnen", noResult, "", ""}));

        // The focus starts in the litres and walks the controls in this order.
        QTRY_COMPARE(QApplication::focusWidget(), user::control(&program.main, "litres"));
        QStringList visited;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QStringList({"kilometres", "calculate", "vehicles", "showOverview", "litres"}));
    }

    void vehicleChoice_data()
    {
        QTest::addColumn<bool>("activated");
        QTest::newRow("after activation") << true;
        QTest::newRow("before activation") << false;
    }

    void vehicleChoice()
    {
        QFETCH(bool, activated);
        Program program;
        if (activated)
            QVERIFY(QTest::qWaitForWindowActive(&program.main));
        else // a window that has not been activated yet does not pull the focus to the litres
            program.main.hide();
        auto *vehicles = user::control<QComboBox>(&program.main, "vehicles");
        QLineEdit *kilometres = user::control(&program.main, "kilometres");
        kilometres->setFocus();

        vehicles->setCurrentIndex(1);
        QCOMPARE(program.main.vehicle(), QStringLiteral("Motorrad"));
        vehicles->setCurrentIndex(0);
        QCOMPARE(program.main.vehicle(), QStringLiteral("Auto"));
        QCOMPARE(program.main.focusWidget(), activated ? user::control(&program.main, "litres") : kilometres);
        if (!activated)
            return;
        // Moving through the closed list with the keyboard chooses each item on the way.
        vehicles->setFocus();
        QTest::keyClick(vehicles, Qt::Key_Down);
        QCOMPARE(program.main.vehicle(), QStringLiteral("Motorrad"));
        QCOMPARE(QApplication::focusWidget(), user::control(&program.main, "litres"));
    }

    void calculation_data()
    {
        QTest::addColumn<int>("vehicle"); // 0 car, 1 motorcycle
        QTest::addColumn<QString>("litres");
        QTest::addColumn<QString>("kilometres");
        QTest::addColumn<QString>("shown");     // the consumption shown; empty when refused
        QTest::addColumn<QStringList>("entry"); // as the log reads it back
        QTest::addColumn<QString>("title");     // of the one message box; empty when none
        QTest::addColumn<QString>("prompt");

        // Input that is no number: the program's own box, and both boxes emptied.
        const QString refusal =
            QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??\r\n"
                           "                                     Also nochmal !!");
        // Numbers the calculation cannot take: a failure message, and the texts stay as typed.
        const QString zero = QStringLiteral("Die Kilometerangabe darf nicht 0 sein.");
        const QString tooLarge = QStringLiteral("Der Wert ist zu groß für eine Berechnung.");
        // clang-format off
        QTest::newRow("cut to two decimals") << 0 << "45,5" << "600" << "7,58" << QStringList{today, "600", "45,5", "7,58"} << "" << "";
        QTest::newRow("underflow is no failure") << 0 << "1E-300" << "1E300" << "0" << QStringList{today, "1E+300", "1E-300", "0"} << "" << "";
        QTest::newRow("motorcycle, blanks and groups") << 1 << " 6,3 " << "1.180" << "0,53" << QStringList{today, "1180", "6,3", "0,53"} << "" << "";
        QTest::newRow("litres empty") << 0 << "" << "600" << "" << QStringList{} << "Fehler" << refusal;
        QTest::newRow("kilometres empty") << 1 << "45,5" << "" << "" << QStringList{} << "Fehler" << refusal;
        QTest::newRow("kilometres 0") << 1 << "45,5" << "0" << "" << QStringList{} << "Tankverzehr" << zero;
        QTest::newRow("product too large") << 0 << "1E307" << "600" << "" << QStringList{} << "Tankverzehr" << tooLarge;
        // clang-format on
    }

    void calculation()
    {
        QFETCH(int, vehicle);
        QFETCH(QString, litres);
        QFETCH(QString, kilometres);
        QFETCH(QString, shown);
        QFETCH(QStringList, entry);
        QFETCH(QString, title);
        QFETCH(QString, prompt);

        Program program;
        const MessageRecorder messages;
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        user::control<QComboBox>(&program.main, "vehicles")->setCurrentIndex(vehicle);
        program.calculate(litres, kilometres);

        QCOMPARE(messages.shown().size(), title.isEmpty() ? 0 : 1);
        if (!title.isEmpty()) {
            QCOMPARE(messages.shown()[0].title, title);
            QCOMPARE(messages.shown()[0].prompt, prompt);
            QCOMPARE(messages.shown()[0].icon, toolkit::MessageBox::Icon::Information);
        }
        const bool emptied = title == u"Fehler";
        const QStringList afterResult{"&Nochmal", resultLine(shown), litres, kilometres};
        const QStringList afterRefusal{"&Berechnen", noResult, emptied ? "" : litres,
                                       emptied ? "" : kilometres};
        QCOMPARE(state(program.main), shown.isEmpty() ? afterRefusal : afterResult);
        if (title != u"Tankverzehr") // after a failure message the focus stays where the box left it
            QCOMPARE(QApplication::focusWidget(), user::control(&program.main, "litres"));
        QCOMPARE(program.log.rows(program.main.vehicle()),
                 entry.isEmpty() ? QList<QStringList>() : QList<QStringList>{entry});
        QCOMPARE(program.log.count(vehicle == 0 ? QStringLiteral("Motorrad") : QStringLiteral("Auto")), 0);
    }

    void cycle()
    {
        Program program;
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        program.calculate(QStringLiteral("45,5"), QStringLiteral("600"));
        // Another vehicle and new typing after a result change neither the result nor the button.
        QTest::keyClicks(user::control(&program.main, "litres"), QStringLiteral("1"));
        user::control<QComboBox>(&program.main, "vehicles")->setCurrentIndex(1);
        QCOMPARE(state(program.main), (QStringList{"&Nochmal", resultLine("7,58"), "45,51", "600"}));
        QCOMPARE(program.log.count(QStringLiteral("Motorrad")), 0);

        Program::click(&program.main, "calculate");
        QCOMPARE(state(program.main), (QStringList{"&Berechnen", noResult, "", ""}));
        QCOMPARE(QApplication::focusWidget(), user::control(&program.main, "litres"));

        // The next calculation goes into the newly chosen log; two on one day make two rows.
        program.calculate(QStringLiteral("6,3"), QStringLiteral("180"));
        Program::click(&program.main, "calculate");
        program.calculate(QStringLiteral("7"), QStringLiteral("200"));
        QCOMPARE(program.log.rows(QStringLiteral("Motorrad")),
                 (QList<QStringList>{{today, "180", "6,3", "3,5"}, {today, "200", "7", "3,5"}}));
        QCOMPARE(program.log.rows(QStringLiteral("Auto")),
                 (QList<QStringList>{{today, "600", "45,5", "7,58"}}));
    }
};

QTEST_MAIN(CalculatorTest)
#include "tst_calculator.moc"

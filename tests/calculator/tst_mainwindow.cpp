// The main window driven as a user drives it: the vehicle choice, the calculation with its
// refusals and failures, the two-state button and the recording of every result.
#include "Clock.h"
#include "MessageRecorder.h"
#include "Tankverzehrsberechnung.h"
#include "TestLog.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString today = QStringLiteral("14.07.2026");
const QString keineDaten = QStringLiteral("Zur Zeit keine Daten");

QString resultLine(const QString &consumption)
{
    return QStringLiteral("Sie haben  ") + consumption + QStringLiteral("  Liter pro 100 km verbraucht !");
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void vehicleChoice_data();
    void vehicleChoice();
    void calculation_data();
    void calculation();
    void refused_data();
    void refused();
    void cycle();
    void recordingFailure_data();
    void recordingFailure();

private:
    void calculate(const QString &litres, const QString &kilometres);
    void click(const char *button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    template <typename T> T *control(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    void verifyState(const QString &label5, const QString &caption, const QString &text1,
                     const QString &text2);

    std::unique_ptr<TestLog> m_log;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<Tankverzehrsberechnung> m_window;
};

void MainWindowTest::init()
{
    m_log = std::make_unique<TestLog>();
    m_messages = std::make_unique<MessageRecorder>();
    toolkit::Clock::setFixedToday(QDate(2026, 7, 14));
    m_window = std::make_unique<Tankverzehrsberechnung>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    m_messages.reset();
    m_log.reset();
    toolkit::Clock::setFixedToday(std::nullopt);
}

void MainWindowTest::calculate(const QString &litres, const QString &kilometres)
{
    control<QLineEdit>("Text1")->setFocus();
    QTest::keyClicks(control<QLineEdit>("Text1"), litres);
    QTest::keyClicks(control<QLineEdit>("Text2"), kilometres);
    click("Command1");
}

void MainWindowTest::verifyState(const QString &label5, const QString &caption, const QString &text1,
                                 const QString &text2)
{
    QCOMPARE(control<QLabel>("Label5")->text(), label5);
    QCOMPARE(control<QPushButton>("Command1")->text(), caption);
    QCOMPARE(control<QLineEdit>("Text1")->text(), text1);
    QCOMPARE(control<QLineEdit>("Text2")->text(), text2);
}

void MainWindowTest::startUp()
{
    auto *combo = control<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("    Auto"));
    QCOMPARE(combo->itemText(1), QStringLiteral("Motorrad"));
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(m_window->Fahrzeug, QStringLiteral("Auto"));
    verifyState(keineDaten, QStringLiteral("&Berechnen"), QString(), QString());
    auto *label5 = control<QLabel>("Label5");
    QCOMPARE(label5->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label5->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(control<QPushButton>("Command2")->text(), QStringLiteral("&Übersicht"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tankverzehrsberechnung"));
    QCOMPARE(m_window->size(), QSize(329, 294));
    const QString folder = qEnvironmentVariable("TANKVERZEHR_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(m_window->grab().save(folder + QStringLiteral("/mainwindow.png")));

    // The focus starts in the litres and walks the controls in this order.
    QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"Text2", "Command1", "Combo1", "Command2", "Text1"}));
}

void MainWindowTest::vehicleChoice_data()
{
    QTest::addColumn<bool>("activated");
    QTest::newRow("after activation") << true;
    QTest::newRow("before activation") << false;
}

void MainWindowTest::vehicleChoice()
{
    QFETCH(bool, activated);
    if (!activated) // a window that has not been activated yet does not pull the focus to the litres
        m_window = std::make_unique<Tankverzehrsberechnung>();
    auto *combo = control<QComboBox>("Combo1");
    auto *text2 = control<QLineEdit>("Text2");
    text2->setFocus();

    combo->setCurrentIndex(1);
    QCOMPARE(m_window->Fahrzeug, QStringLiteral("Motorrad"));
    combo->setCurrentIndex(0);
    QCOMPARE(m_window->Fahrzeug, QStringLiteral("Auto"));
    QCOMPARE(m_window->focusWidget(), activated ? control<QLineEdit>("Text1") : text2);

    if (activated) {
        // Moving through the closed list with the keyboard chooses each item on the way.
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(m_window->Fahrzeug, QStringLiteral("Motorrad"));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    }
}

void MainWindowTest::calculation_data()
{
    QTest::addColumn<QString>("fahrzeug");
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("row");

    QTest::newRow("45,5 / 600") << "Auto"
                                << "45,5"
                                << "600"
                                << "7,58" << QStringList{today, "600", "45,5", "7,58"};
    QTest::newRow("42 / 600 whole") << "Auto"
                                    << "42"
                                    << "600"
                                    << "7" << QStringList{today, "600", "42", "7"};
    QTest::newRow("1 / 12") << "Auto"
                            << "1"
                            << "12"
                            << "8,33" << QStringList{today, "12", "1", "8,33"};
    QTest::newRow("0,07 / 1") << "Auto"
                              << "0,07"
                              << "1"
                              << "7" << QStringList{today, "1", "0,07", "7"};
    QTest::newRow("negative km") << "Auto"
                                 << "10"
                                 << "-100"
                                 << "-10" << QStringList{today, "-100", "10", "-10"};
    QTest::newRow("zero litres") << "Auto"
                                 << "0"
                                 << "100"
                                 << "0" << QStringList{today, "100", "0", "0"};
    QTest::newRow("underflow is no failure") << "Auto"
                                             << "1E-300"
                                             << "1E300"
                                             << "0" << QStringList{today, "1E+300", "1E-300", "0"};
    QTest::newRow("dot read as group separator") << "Auto"
                                                 << "45.5"
                                                 << "600"
                                                 << "75,83" << QStringList{today, "600", "455", "75,83"};
    QTest::newRow("blanks and groups") << "Motorrad"
                                       << " 6,3 "
                                       << "1.180"
                                       << "0,53" << QStringList{today, "1180", "6,3", "0,53"};
}

void MainWindowTest::calculation()
{
    QFETCH(QString, fahrzeug);
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    QFETCH(QString, shown);
    QFETCH(QStringList, row);

    control<QComboBox>("Combo1")->setCurrentIndex(fahrzeug == QLatin1String("Auto") ? 0 : 1);
    calculate(litres, kilometres);

    QVERIFY(m_messages->shown().isEmpty());
    verifyState(resultLine(shown), QStringLiteral("&Nochmal"), litres, kilometres);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    const QString other =
        fahrzeug == QLatin1String("Auto") ? QStringLiteral("Motorrad") : QStringLiteral("Auto");
    QCOMPARE(m_log->rows(fahrzeug), QList<QStringList>{row});
    QCOMPARE(m_log->count(other), 0);
}

void MainWindowTest::refused_data()
{
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prompt");

    // Input that is no number: the program's own box, and both boxes emptied.
    const QString fehler = QStringLiteral("Fehler");
    const QString refusal =
        QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??\r\n"
                       "                                     Also nochmal !!");
    QTest::newRow("litres empty") << ""
                                  << "600" << fehler << refusal;
    QTest::newRow("kilometres empty") << "45,5"
                                      << "" << fehler << refusal;
    QTest::newRow("litres blanks") << "   "
                                   << "600" << fehler << refusal;
    QTest::newRow("letter in kilometres") << "45,5"
                                          << "60x" << fehler << refusal;
    QTest::newRow("two commas") << "4,5,5"
                                << "600" << fehler << refusal;
    QTest::newRow("beyond a double") << "1E999"
                                     << "600" << fehler << refusal;
    // Numbers the calculation cannot take: a failure message, and the texts stay as typed.
    const QString program = QStringLiteral("Tankverzehr");
    const QString zero = QStringLiteral("Die Kilometerangabe darf nicht 0 sein.");
    const QString tooLarge = QStringLiteral("Der Wert ist zu groß für eine Berechnung.");
    QTest::newRow("kilometres 0") << "45,5"
                                  << "0" << program << zero;
    QTest::newRow("zero by zero") << "0"
                                  << "0,0" << program << zero;
    QTest::newRow("product too large") << "1E307"
                                       << "600" << program << tooLarge;
    QTest::newRow("quotient too large") << "1E300"
                                        << "1E-300" << program << tooLarge;
}

void MainWindowTest::refused()
{
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    QFETCH(QString, title);
    QFETCH(QString, prompt);

    // The result of an earlier calculation must survive.
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));
    click("Command1");
    calculate(litres, kilometres);

    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown()[0].title, title);
    QCOMPARE(m_messages->shown()[0].prompt, prompt);
    const bool refusedInput = title == QLatin1String("Fehler");
    QCOMPARE(m_messages->shown()[0].icon, toolkit::MessageBox::Icon::Information);
    verifyState(keineDaten, QStringLiteral("&Berechnen"), refusedInput ? QString() : litres,
                refusedInput ? QString() : kilometres);
    if (refusedInput)
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QCOMPARE(m_window->Ergebnis, QVariant(QStringLiteral("7,58")));
    QCOMPARE(m_log->count(QStringLiteral("Auto")), 1);
}

void MainWindowTest::cycle()
{
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));
    // Another vehicle and new typing after a result change neither the result nor the button.
    QTest::keyClicks(control<QLineEdit>("Text1"), QStringLiteral("1"));
    control<QComboBox>("Combo1")->setCurrentIndex(1);
    verifyState(resultLine(QStringLiteral("7,58")), QStringLiteral("&Nochmal"), QStringLiteral("45,51"),
                QStringLiteral("600"));
    QCOMPARE(m_log->count(QStringLiteral("Motorrad")), 0);

    click("Command1");
    verifyState(keineDaten, QStringLiteral("&Berechnen"), QString(), QString());
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QCOMPARE(m_window->Ergebnis, QVariant(QStringLiteral("7,58")));

    // The next calculation goes into the newly chosen log; two on one day make two rows.
    calculate(QStringLiteral("6,3"), QStringLiteral("180"));
    click("Command1");
    calculate(QStringLiteral("7"), QStringLiteral("200"));
    QCOMPARE(m_log->rows(QStringLiteral("Motorrad")),
             (QList<QStringList>{{today, "180", "6,3", "3,5"}, {today, "200", "7", "3,5"}}));
    QCOMPARE(m_log->rows(QStringLiteral("Auto")), (QList<QStringList>{{today, "600", "45,5", "7,58"}}));
}

void MainWindowTest::recordingFailure_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("file missing") << "remove";
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("log missing") << "drop";
}

void MainWindowTest::recordingFailure()
{
    QFETCH(QString, damage);
    const QByteArray garbage(4096, 'x');
    QFile file(m_log->path());
    if (damage == QLatin1String("remove")) {
        QVERIFY(file.remove());
    } else if (damage == QLatin1String("garbage")) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(garbage);
        file.close();
    } else {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("damage"));
            db.setDatabaseName(m_log->path());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("DROP VIEW \"Autogesamt\"")));
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("DROP TABLE \"Auto\"")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("damage"));
    }
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));

    // The result is shown, but the button stays, and the user is told which file failed.
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown()[0].title, QStringLiteral("Tankverzehr"));
    QVERIFY2(m_messages->shown()[0].prompt.contains(QStringLiteral("Verbrauch.mdb")),
             qPrintable(m_messages->shown()[0].prompt));
    verifyState(resultLine(QStringLiteral("7,58")), QStringLiteral("&Berechnen"), QStringLiteral("45,5"),
                QStringLiteral("600"));
    if (damage == QLatin1String("remove"))
        QVERIFY(!QFile::exists(m_log->path()));
    if (damage == QLatin1String("garbage")) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

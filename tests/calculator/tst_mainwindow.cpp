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

const QString refusal =
    QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??\r\n"
                   "                                     Also nochmal !!");
const QString today = QStringLiteral("14.07.2026");

QString resultLine(const QString &consumption)
{
    return QStringLiteral("Sie haben  ") + consumption + QStringLiteral("  Liter pro 100 km verbraucht !");
}

// Runs SQL on the test's log file through a connection of the test's own.
void execOn(const QString &path, const QString &sql)
{
    const QString name = QStringLiteral("test-exec");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(query.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void tabOrder();
    void vehicleChoice_data();
    void vehicleChoice();
    void calculation_data();
    void calculation();
    void accessKeyCalculates();
    void refusedInput_data();
    void refusedInput();
    void arithmeticFailure_data();
    void arithmeticFailure();
    void nochmalResets();
    void otherVehicleAfterCalculation();
    void twoCalculationsTwoRows();
    void recordingFailure_data();
    void recordingFailure();
    void picture();

private:
    void calculate(const QString &litres, const QString &kilometres);
    template <typename T> T *control(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }

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
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
}

void MainWindowTest::startUp()
{
    auto *combo = control<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("    Auto"));
    QCOMPARE(combo->itemText(1), QStringLiteral("Motorrad"));
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(m_window->Fahrzeug, QStringLiteral("Auto"));
    auto *label5 = control<QLabel>("Label5");
    QCOMPARE(label5->text(), QStringLiteral("Zur Zeit keine Daten"));
    QCOMPARE(label5->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label5->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Berechnen"));
    QCOMPARE(control<QPushButton>("Command2")->text(), QStringLiteral("&Übersicht"));
    QVERIFY(control<QLineEdit>("Text1")->text().isEmpty());
    QVERIFY(control<QLineEdit>("Text2")->text().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tankverzehrsberechnung"));
    QCOMPARE(m_window->size(), QSize(329, 294));
}

void MainWindowTest::tabOrder()
{
    QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    const QStringList expected{"Text2", "Command1", "Combo1", "Command2", "Text1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
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
    if (!activated) {
        // A window that has not yet been activated does not pull the focus to the litres.
        m_window = std::make_unique<Tankverzehrsberechnung>();
    }
    auto *combo = control<QComboBox>("Combo1");
    auto *text2 = control<QLineEdit>("Text2");
    text2->setFocus();

    combo->setCurrentIndex(1);
    QCOMPARE(m_window->Fahrzeug, QStringLiteral("Motorrad"));
    combo->setCurrentIndex(0);
    QCOMPARE(m_window->Fahrzeug, QStringLiteral("Auto"));
    if (activated)
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    else
        QCOMPARE(m_window->focusWidget(), text2);

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
    QTest::newRow("dot read as group separator") << "Auto"
                                                 << "45.5"
                                                 << "600"
                                                 << "75,83" << QStringList{today, "600", "455", "75,83"};
    QTest::newRow("blanks and groups") << "Motorrad"
                                       << " 6,3 "
                                       << "1.180"
                                       << "0,53" << QStringList{today, "1180", "6,3", "0,53"};
    QTest::newRow("motorcycle") << "Motorrad"
                                << "6,3"
                                << "180"
                                << "3,5" << QStringList{today, "180", "6,3", "3,5"};
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
    QCOMPARE(control<QLabel>("Label5")->text(), resultLine(shown));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Nochmal"));
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QCOMPARE(control<QLineEdit>("Text1")->text(), litres);
    QCOMPARE(control<QLineEdit>("Text2")->text(), kilometres);

    const QString other =
        fahrzeug == QLatin1String("Auto") ? QStringLiteral("Motorrad") : QStringLiteral("Auto");
    QCOMPARE(m_log->rows(fahrzeug), QList<QStringList>{row});
    QCOMPARE(m_log->count(other), 0);
}

void MainWindowTest::accessKeyCalculates()
{
    QTest::keyClicks(control<QLineEdit>("Text1"), QStringLiteral("42"));
    QTest::keyClicks(control<QLineEdit>("Text2"), QStringLiteral("600"));
    QTest::keyClick(m_window.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Nochmal"));
    QCOMPARE(m_log->count(QStringLiteral("Auto")), 1);
}

void MainWindowTest::refusedInput_data()
{
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::newRow("litres empty") << ""
                                  << "600";
    QTest::newRow("kilometres empty") << "45,5"
                                      << "";
    QTest::newRow("litres blanks") << "   "
                                   << "600";
    QTest::newRow("letters in litres") << "abc"
                                       << "600";
    QTest::newRow("letter in kilometres") << "45,5"
                                          << "60x";
    QTest::newRow("two commas") << "4,5,5"
                                << "600";
    QTest::newRow("beyond a double") << "1E999"
                                     << "600";
}

void MainWindowTest::refusedInput()
{
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    calculate(litres, kilometres);

    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown()[0].title, QStringLiteral("Fehler"));
    QCOMPARE(m_messages->shown()[0].prompt, refusal);
    QCOMPARE(m_messages->shown()[0].icon, toolkit::MessageBox::Icon::Information);
    QVERIFY(control<QLineEdit>("Text1")->text().isEmpty());
    QVERIFY(control<QLineEdit>("Text2")->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Berechnen"));
    QCOMPARE(control<QLabel>("Label5")->text(), QStringLiteral("Zur Zeit keine Daten"));
    QCOMPARE(m_log->count(QStringLiteral("Auto")), 0);
}

void MainWindowTest::arithmeticFailure_data()
{
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("message");
    const QString zero = QStringLiteral("Die Kilometerangabe darf nicht 0 sein.");
    const QString tooLarge = QStringLiteral("Der Wert ist zu groß für eine Berechnung.");
    QTest::newRow("kilometres 0") << "45,5"
                                  << "0" << zero;
    QTest::newRow("zero by zero") << "0"
                                  << "0,0" << zero;
    QTest::newRow("product too large") << "1E307"
                                       << "600" << tooLarge;
    QTest::newRow("quotient too large") << "1E300"
                                        << "1E-300" << tooLarge;
}

void MainWindowTest::arithmeticFailure()
{
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    QFETCH(QString, message);

    // An earlier result must survive the failed calculation.
    calculate(QStringLiteral("42"), QStringLiteral("600"));
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    const QVariant before = m_window->Ergebnis;
    QCOMPARE(before, QVariant(QStringLiteral("7,58")));

    calculate(litres, kilometres);
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown()[0].prompt, message);
    QCOMPARE(m_messages->shown()[0].title, QStringLiteral("Tankverzehr"));
    QCOMPARE(m_window->Ergebnis, before);
    QCOMPARE(control<QLabel>("Label5")->text(), QStringLiteral("Zur Zeit keine Daten"));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Berechnen"));
    QCOMPARE(control<QLineEdit>("Text1")->text(), litres);
    QCOMPARE(control<QLineEdit>("Text2")->text(), kilometres);
    QCOMPARE(m_log->count(QStringLiteral("Auto")), 2);
    QVERIFY(m_window->isVisible());
}

void MainWindowTest::nochmalResets()
{
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));
    QCOMPARE(m_window->Ergebnis, QVariant(QStringLiteral("7,58")));
    // New values typed after the calculation are cleared all the same.
    QTest::keyClicks(control<QLineEdit>("Text1"), QStringLiteral("1"));
    QTest::keyClicks(control<QLineEdit>("Text2"), QStringLiteral("2"));
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);

    QVERIFY(control<QLineEdit>("Text1")->text().isEmpty());
    QVERIFY(control<QLineEdit>("Text2")->text().isEmpty());
    QCOMPARE(control<QLabel>("Label5")->text(), QStringLiteral("Zur Zeit keine Daten"));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Berechnen"));
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QCOMPARE(m_window->Ergebnis, QVariant(QStringLiteral("7,58")));
    QCOMPARE(m_log->count(QStringLiteral("Auto")), 1);
}

void MainWindowTest::otherVehicleAfterCalculation()
{
    calculate(QStringLiteral("42"), QStringLiteral("600"));
    control<QComboBox>("Combo1")->setCurrentIndex(1);
    QCOMPARE(control<QLabel>("Label5")->text(), resultLine(QStringLiteral("7")));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Nochmal"));
    QCOMPARE(m_log->count(QStringLiteral("Motorrad")), 0);

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    calculate(QStringLiteral("6,3"), QStringLiteral("180"));
    QCOMPARE(m_log->count(QStringLiteral("Auto")), 1);
    QCOMPARE(m_log->rows(QStringLiteral("Motorrad")), (QList<QStringList>{{today, "180", "6,3", "3,5"}}));
}

void MainWindowTest::twoCalculationsTwoRows()
{
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    calculate(QStringLiteral("42"), QStringLiteral("600"));
    QCOMPARE(m_log->rows(QStringLiteral("Auto")),
             (QList<QStringList>{{today, "600", "45,5", "7,58"}, {today, "600", "42", "7"}}));
}

void MainWindowTest::recordingFailure_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("fahrzeug");
    QTest::newRow("file missing") << "remove"
                                  << "Auto";
    QTest::newRow("not a database") << "garbage"
                                    << "Auto";
    QTest::newRow("log missing") << "drop"
                                 << "Motorrad";
}

void MainWindowTest::recordingFailure()
{
    QFETCH(QString, damage);
    QFETCH(QString, fahrzeug);
    if (damage == QLatin1String("remove")) {
        QVERIFY(QFile::remove(m_log->path()));
    } else if (damage == QLatin1String("garbage")) {
        QFile file(m_log->path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    } else {
        execOn(m_log->path(), QStringLiteral("DROP VIEW \"Motorradgesamt\""));
        execOn(m_log->path(), QStringLiteral("DROP TABLE \"Motorrad\""));
    }
    control<QComboBox>("Combo1")->setCurrentIndex(fahrzeug == QLatin1String("Auto") ? 0 : 1);
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));

    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown()[0].title, QStringLiteral("Tankverzehr"));
    QVERIFY2(m_messages->shown()[0].prompt.contains(QStringLiteral("Verbrauch.mdb")),
             qPrintable(m_messages->shown()[0].prompt));
    QCOMPARE(control<QLabel>("Label5")->text(), resultLine(QStringLiteral("7,58")));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("&Berechnen"));
    if (damage == QLatin1String("remove"))
        QVERIFY(!QFile::exists(m_log->path()));
    if (damage == QLatin1String("garbage")) {
        QFile file(m_log->path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(4096, 'x'));
    }
}

void MainWindowTest::picture()
{
    calculate(QStringLiteral("45,5"), QStringLiteral("600"));
    const QString folder = qEnvironmentVariable("TANKVERZEHR_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(m_window->grab().save(folder + QStringLiteral("/mainwindow.png")));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

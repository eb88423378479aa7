// The editor window driven as the user drives it: which entry each activation shows, and storing
// and deleting with the checks before them. What typing does to the consumption is the rule's own
// test and the end-to-end test's.
#include "Clock.h"
#include "EntryEditorWindow.h"
#include "MessageRecorder.h"
#include "TestLog.h"
#include "User.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString emptyFields =
    QStringLiteral("Die Felder 'Datum' 'Getankte Liter' 'Literpreis'  müssen ausgefüllt werden !!");
const QString dateTitle = QStringLiteral("Datum n.i.O.");
// Stands for any message of a failed database step, whose wording comes from the log store.
const QString failure = QStringLiteral("<Fehler der Datenbank>");
// Datum, Gefahrene Kilometer, Getankte Liter, Verbrauch auf 100 km in Liter.
const QList<QStringList> carLog{{"01.01.2024", "500", "40", "8"},
                                {"15.02.2024", "600", "45", "7,5"},
                                {"03.03.2024", "650", "50", "7,6923"},
                                {"20.04.2024", "3", "40", "1333,33"},
                                {"01.05.2024", "180", "6,3", "3,5"}};
const QStringList motorcycleEntry{"05.05.2023", "180", "6,3", "3,5"};

// One editor window over a log of its own, today fixed at 15.06.2024, every message recorded.
struct Fixture {
    TestLog log;
    MessageRecorder messages;
    std::optional<int> chosen;
    editor::EntryEditorWindow editor{[] { return QStringLiteral("Auto"); }, [this] { return chosen; }};

    Fixture()
    {
        toolkit::Clock::setFixedToday(QDate(2024, 6, 15));
        log.record(QStringLiteral("Auto"), carLog);
        log.record(QStringLiteral("Motorrad"), {motorcycleEntry});
    }
    ~Fixture() { toolkit::Clock::setFixedToday(std::nullopt); }

    QLineEdit *box(const char *name) const { return editor.findChild<QLineEdit *>(QLatin1String(name)); }
    // The four boxes in the order the log keeps them.
    QStringList shown() const
    {
        return {box("date")->text(), box("kilometres")->text(), box("litres")->text(),
                box("consumption")->text()};
    }
    // Activates the editor on the car's entry at `position`; true once it shows it.
    bool open(int position)
    {
        chosen = position;
        return user::activate(&editor) && QTest::qWaitFor([&] { return shown() == carLog.at(position); });
    }
    void setTexts(const QStringList &texts) const
    {
        const char *names[] = {"date", "kilometres", "litres", "consumption"};
        for (int i = 0; i < 4; ++i)
            box(names[i])->setText(texts.at(i));
    }
};

} // namespace

class EntryEditorTest : public QObject {
    Q_OBJECT
private slots:
    void window()
    {
        Fixture f;
        QVERIFY(f.open(2));
        QVERIFY(!f.box("consumption")->isEnabled());
        // Centred on the screen.
        const QPoint offCentre =
            f.editor.frameGeometry().center() - f.editor.screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1 %2").arg(offCentre.x()).arg(offCentre.y())));
        // The keyboard visits the kilometres last, after the two buttons.
        QTRY_COMPARE(QApplication::focusWidget(), f.box("date"));
        for (const char *next : {"litres", "save", "delete", "kilometres", "date"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
    }

    void dateDoubleClick()
    {
        Fixture f;
        QVERIFY(f.open(2));
        QTest::mouseDClick(f.box("date"), Qt::LeftButton);
        // Today's date in the date box and nothing else: no message, the other boxes as they were,
        // nothing stored before "&Übernahme".
        const QStringList expected = QStringList{"15.06.2024"} + carLog.at(2).mid(1);
        QCOMPARE(f.shown(), expected);
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(f.log.rows(QStringLiteral("Auto")), carLog);
        QTest::mouseClick(f.editor.findChild<QPushButton *>("save"), Qt::LeftButton);
        QTRY_VERIFY(!f.editor.isVisible());
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(f.log.rows(QStringLiteral("Auto")).at(2), expected);
    }

    void activation_data()
    {
        QTest::addColumn<std::optional<int>>("position");
        QTest::addColumn<bool>("shown");         // false: the entry is not there and the editor goes away
        QTest::addColumn<QString>("typed");      // into the litres, before another window is activated
        QTest::addColumn<int>("next");           // the entry chosen when the editor is activated again
        QTest::addColumn<QString>("nextLitres"); // what the litres box shows then

        // Meanwhile another program changes every entry's litres to 77.
        QTest::newRow("typing kept on the same entry") << std::optional(2) << true << "9" << 2 << "509";
        QTest::newRow("another entry read afresh") << std::optional(4) << true << "9" << 3 << "77";
        QTest::newRow("nothing typed: read afresh") << std::optional(0) << true << "" << 0 << "77";
        QTest::newRow("typing undone: read afresh") << std::optional(1) << true << "9\b" << 1 << "77";
        QTest::newRow("one beyond the last") << std::optional(5) << false << "" << 0 << "";
        QTest::newRow("never chosen") << std::optional<int>() << false << "" << 0 << "";
    }

    void activation()
    {
        QFETCH(std::optional<int>, position);
        QFETCH(bool, shown);
        QFETCH(QString, typed);
        QFETCH(int, next);
        QFETCH(QString, nextLitres);

        Fixture f;
        f.chosen = position;
        f.editor.show();
        f.editor.activateWindow();
        if (!shown) {
            QTRY_COMPARE(f.messages.shown().size(), 1);
            QCOMPARE(f.messages.shown().first().prompt,
                     QStringLiteral("Der gewählte Eintrag ist nicht mehr vorhanden."));
            QTRY_VERIFY(!f.editor.isVisible());
            return;
        }
        QTRY_COMPARE(f.shown(), carLog.at(*position));
        f.box("litres")->setFocus();
        for (const QChar key : typed)
            QTest::keyClick(f.box("litres"),
                            key == QLatin1Char('\b') ? Qt::Key_Backspace : Qt::Key(key.unicode()));
        QWidget other;
        QVERIFY(user::activate(&other));
        TestLog::query(f.log.path(), QStringLiteral("UPDATE \"Auto\" SET \"Getankte Liter\" = '77'"));
        f.chosen = next;
        QVERIFY(user::activate(&f.editor));
        QTRY_COMPARE(f.box("litres")->text(), nextLitres);
        QCOMPARE(f.box("kilometres")->text(), carLog.at(next).at(1));
        // A store after hiding: the next showing reads the entry afresh, even the same one.
        QTest::mouseClick(f.editor.findChild<QPushButton *>(QStringLiteral("save")), Qt::LeftButton);
        QTRY_VERIFY(!f.editor.isVisible());
        QCOMPARE(f.log.rows(QStringLiteral("Auto")).at(next).at(2), nextLitres);
        TestLog::query(f.log.path(), QStringLiteral("UPDATE \"Auto\" SET \"Getankte Liter\" = '66'"));
        QVERIFY(user::activate(&other));
        QVERIFY(user::activate(&f.editor));
        QTRY_COMPARE(f.box("litres")->text(), QStringLiteral("66"));
        QVERIFY(f.messages.shown().isEmpty());
    }

    void click_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("texts"); // date, kilometres, litres, consumption before the click
        QTest::addColumn<QString>("damage");    // done to the log behind the editor's back first
        QTest::addColumn<QString>("message");   // empty: done without a word
        QTest::addColumn<QString>("focus");     // where the focus goes after the message

        const QStringList filled{"10.06.2024", "600", "42", "7"};
        const QString gone = QStringLiteral("ALTER TABLE \"Auto\" RENAME TO \"Weg\"");
        // clang-format off
        QTest::newRow("store") << "save" << filled << "" << "" << "";
        QTest::newRow("delete") << "delete" << filled << "" << "" << "";
        // A future date shows that the date is not checked when a field is empty.
        QTest::newRow("date empty") << "save" << QStringList{"", "600", "42", "7"} << "" << emptyFields << "date";
        QTest::newRow("consumption empty, kilometres there") << "save" << QStringList{"16.06.2024", "600", "42", ""} << "" << emptyFields << "litres";
        QTest::newRow("consumption empty, kilometres missing") << "save" << QStringList{"10.06.2024", "", "42", ""} << "" << emptyFields << "kilometres";
        QTest::newRow("blanks are no date") << "save" << QStringList{"          ", "600", "42", "7"} << "" << "Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!" << "date";
        QTest::newRow("letters pasted into kilometres") << "save" << QStringList{"10.06.2024", "zwölf", "42", "7"} << "" << failure << "";
        QTest::newRow("store, log gone") << "save" << filled << gone << failure << "";
        QTest::newRow("delete, log gone") << "delete" << filled << gone << failure << "";
        // clang-format on
    }

    void click()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, texts);
        QFETCH(QString, damage);
        QFETCH(QString, message);
        QFETCH(QString, focus);

        Fixture f;
        QVERIFY(f.open(2));
        f.setTexts(texts);
        if (!damage.isEmpty())
            TestLog::query(f.log.path(), damage);
        QTest::mouseClick(f.editor.findChild<QPushButton *>(button), Qt::LeftButton);

        if (message.isEmpty()) {
            QVERIFY(f.messages.shown().isEmpty());
            QTRY_VERIFY(!f.editor.isVisible());
            QList<QStringList> expected = carLog;
            if (button == QLatin1String("delete"))
                expected.removeAt(2);
            else
                expected[2] = texts;
            QCOMPARE(f.log.rows(QStringLiteral("Auto")), expected);
            QCOMPARE(f.log.rows(QStringLiteral("Motorrad")), QList<QStringList>{motorcycleEntry});
            return;
        }
        QCOMPARE(f.messages.shown().size(), 1);
        const toolkit::MessageBox::Shown box = f.messages.shown().first();
        const bool dateRefused = message != failure && message != emptyFields;
        QCOMPARE(box.title, dateRefused ? dateTitle : QStringLiteral("Tankverzehr"));
        QVERIFY(message == failure ? !box.prompt.isEmpty() : box.prompt == message);
        QVERIFY(f.editor.isVisible());
        if (!focus.isEmpty())
            QCOMPARE(f.editor.focusWidget()->objectName(), focus);
        // Only a refused date empties its box; every other text stays as typed, and nothing is stored.
        const auto withDate = [&texts](const QString &date) { return QStringList{date} + texts.mid(1); };
        QCOMPARE(f.shown(), withDate(dateRefused ? QString() : texts.at(0)));
        if (!damage.isEmpty())
            TestLog::query(f.log.path(), QStringLiteral("ALTER TABLE \"Weg\" RENAME TO \"Auto\""));
        QCOMPARE(f.log.rows(QStringLiteral("Auto")), carLog);
        if (!dateRefused)
            return;
        // The next click with a good date stores: a refusal is not remembered.
        QTest::keyClicks(f.box("date"), QStringLiteral("02.05.2024"));
        QTest::mouseClick(f.editor.findChild<QPushButton *>(button), Qt::LeftButton);
        QTRY_VERIFY(!f.editor.isVisible());
        QCOMPARE(f.log.rows(QStringLiteral("Auto")).at(2), withDate(QStringLiteral("02.05.2024")));
    }
};

QTEST_MAIN(EntryEditorTest)
#include "tst_entryeditor.moc"

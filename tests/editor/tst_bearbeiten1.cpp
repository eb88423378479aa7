// The editor window driven as the user drives it: layout, activation, save and delete, the date
// check, and the live recomputation while litres or kilometres are typed.
#include "EditorFixture.h"

#include <QDir>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

const QString emptyFields =
    QStringLiteral("Die Felder 'Datum' 'Getankte Liter' 'Literpreis'  müssen ausgefüllt werden !!");
const QString wrongInput = QStringLiteral("Falsche Eingabe");
// Stands for any message of a failed database write, whose wording comes from the database.
const QString failure = QStringLiteral("<Fehler der Datenbank>");
const QString auto_ = QStringLiteral("Auto");
const QList<QStringList> &autoRows = EditorFixture::autoRows;

// Renames a table through a connection of its own, so that the editor's next write finds no log.
bool renameTable(const QString &path, const QString &from, const QString &to)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), from);
    db.setDatabaseName(path);
    const bool renamed =
        db.open() && QSqlQuery(db).exec(QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(from, to));
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(from);
    return renamed;
}

} // namespace

class Bearbeiten1Test : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void frameTabOrderAndPicture();
    void activation_data();
    void activation();
    void click_data();
    void click();
    void dateCheck_data();
    void dateCheck();
    void typing_data();
    void typing();
};

void Bearbeiten1Test::layout_data()
{
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label1") << QRect(120, 480, 1455, 255) << QStringLiteral("Getankte Liter");
    QTest::newRow("Label2") << QRect(120, 840, 975, 255) << QStringLiteral("Verbrauch");
    QTest::newRow("Label3") << QRect(120, 1200, 1215, 255) << QStringLiteral("Kilometer");
    QTest::newRow("Label4") << QRect(120, 120, 1335, 255) << QStringLiteral("Datum:");
    QTest::newRow("Text1") << QRect(1680, 120, 1335, 285) << QString();
    QTest::newRow("Text2") << QRect(1680, 480, 1335, 285) << QString();
    QTest::newRow("Text3") << QRect(1680, 840, 1335, 285) << QString();
    QTest::newRow("Text4") << QRect(1680, 1200, 1335, 285) << QString();
    QTest::newRow("Command1") << QRect(120, 1560, 1455, 255) << QStringLiteral("&Übernahme");
    QTest::newRow("Command2") << QRect(1680, 1560, 1335, 255) << QStringLiteral("&Löschen");
}

void Bearbeiten1Test::layout()
{
    QFETCH(QRect, twips);
    QFETCH(QString, caption);

    EditorFixture f;
    auto *control = f.editor->findChild<QWidget *>(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15));
    // Every caption is bold, no field.
    QCOMPARE(control->font().bold(), !qobject_cast<QLineEdit *>(control));
    QCOMPARE(control->property("text").toString(), caption);
}

void Bearbeiten1Test::frameTabOrderAndPicture()
{
    EditorFixture f;
    QCOMPARE(f.editor->windowTitle(), QStringLiteral("Bearbeiten"));
    QCOMPARE(f.editor->minimumSize(), QSize(210, 125));
    QCOMPARE(f.editor->maximumSize(), QSize(210, 125));
    QCOMPARE(f.editor->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QCOMPARE(f.text(1)->toolTip(), QStringLiteral("Doppelklick=Aktuelles Datum"));
    QVERIFY(!f.text(3)->isEnabled());

    QVERIFY(f.open(2));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((f.editor->frameGeometry().center() - centre).manhattanLength() <= 1, "centred on the screen");
    const QString folder = qEnvironmentVariable("TANKVERZEHR_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(f.editor->grab().save(QDir(folder).filePath(QStringLiteral("editor.png"))));
    QTRY_COMPARE(QApplication::focusWidget(), f.text(1));
    for (const char *next : {"Text2", "Command1", "Command2", "Text4", "Text1"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
    }
}

void Bearbeiten1Test::activation_data()
{
    QTest::addColumn<QVariant>("position");
    QTest::addColumn<QStringList>("expected"); // empty: the entry is gone and the editor hides itself

    QTest::newRow("first entry") << QVariant(0) << autoRows.at(0);
    QTest::newRow("middle entry") << QVariant(2) << autoRows.at(2);
    QTest::newRow("last entry") << QVariant(4) << autoRows.at(4);
    QTest::newRow("one beyond the last") << QVariant(5) << QStringList();
    QTest::newRow("negative") << QVariant(-1) << QStringList();
    QTest::newRow("never chosen") << QVariant() << QStringList();
}

void Bearbeiten1Test::activation()
{
    QFETCH(QVariant, position);
    QFETCH(QStringList, expected);

    EditorFixture f;
    f.fill();
    f.datensatznummer = position;
    f.editor->show();
    f.editor->activateWindow();
    if (expected.isEmpty()) {
        QTRY_COMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().first().prompt,
                 QStringLiteral("Der gewählte Eintrag ist nicht mehr vorhanden."));
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("Tankverzehr"));
        QCOMPARE(f.messages.shown().first().icon, toolkit::MessageBox::Icon::None);
        QTRY_VERIFY(!f.editor->isVisible());
    } else {
        QTRY_COMPARE(f.shown(), expected);
        // Typing that was never stored is dropped when another choice, and then this one again,
        // is read at the next activations.
        QTest::keyClicks(f.text(2), QStringLiteral("99"));
        QWidget other;
        for (const int next : {3, position.toInt()}) {
            QVERIFY(EditorFixture::activate(&other));
            f.datensatznummer = next;
            QVERIFY(EditorFixture::activate(f.editor.get()));
            QTRY_COMPARE(f.shown(), autoRows.at(next));
        }
        QVERIFY(f.messages.shown().isEmpty());
    }
    QCOMPARE(f.log.rows(auto_), autoRows);
}

void Bearbeiten1Test::click_data()
{
    QTest::addColumn<int>("button");        // 1 save, 2 delete
    QTest::addColumn<QStringList>("texts"); // put into Text1 .. Text4 before the click
    QTest::addColumn<bool>("tableGone");
    QTest::addColumn<QString>("message"); // empty: done without a question
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("retry"); // a date typed after the refusal, then saved again
    const auto add = [](const char *tag, int button, const QStringList &texts, bool tableGone,
                        const QString &message, const char *focus = "", const char *retry = "") {
        QTest::newRow(tag) << button << texts << tableGone << message << QString::fromUtf8(focus)
                           << QString::fromUtf8(retry);
    };
    const QStringList filled{"10.06.2024", "42", "7", "600"};
    add("save all filled", 1, filled, false, {});
    add("save Text4 empty", 1, {"10.06.2024", "42", "7", ""}, false, {});
    add("delete", 2, filled, false, {});
    // A future date in the row shows that the date is not checked on that click.
    add("Text1 empty", 1, {"", "42", "7", "600"}, false, emptyFields, "Text1");
    add("Text2 empty", 1, {"16.06.2024", "", "7", "600"}, false, emptyFields, "Text2");
    add("Text3 empty, kilometres there", 1, {"16.06.2024", "42", "", "600"}, false, emptyFields, "Text2");
    add("Text3 empty, kilometres missing", 1, {"10.06.2024", "42", "", ""}, false, emptyFields, "Text4");
    add("all three empty, one message", 1, {"", "", "", ""}, false, emptyFields, "Text1");
    add("blanks in Text1 are filled but no date", 1, {"          ", "42", "7", "600"}, false,
        QStringLiteral("Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!"), "Text1");
    add("refused date, then a valid one", 1, {"1.05.2024", "42", "7", "600"}, false,
        QStringLiteral("Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!"), "Text1",
        "02.05.2024");
    add("save: letters pasted into kilometres", 1, {"10.06.2024", "42", "7", "zwölf"}, false, failure);
    add("save: log gone", 1, filled, true, failure);
    add("delete: log gone", 2, filled, true, failure);
}

void Bearbeiten1Test::click()
{
    QFETCH(int, button);
    QFETCH(QStringList, texts);
    QFETCH(bool, tableGone);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, retry);

    EditorFixture f;
    QVERIFY(f.open(2));
    for (int i = 0; i < 4; ++i)
        f.text(i + 1)->setText(texts.at(i));
    if (tableGone)
        QVERIFY(renameTable(f.log.path(), auto_, QStringLiteral("Weg")));
    auto *command = f.editor->findChild<QWidget *>(QStringLiteral("Command%1").arg(button));
    QTest::mouseClick(command, Qt::LeftButton);
    QCOMPARE(f.messages.shown().size(), message.isEmpty() ? 0 : 1);
    const auto row = [&texts] { return QStringList{texts.at(0), texts.at(3), texts.at(1), texts.at(2)}; };
    if (!message.isEmpty()) {
        const toolkit::MessageBox::Shown box = f.messages.shown().first();
        const bool dateRefused = message != failure && message != emptyFields;
        QCOMPARE(box.title, dateRefused ? QStringLiteral("Datum n.i.O.") : QStringLiteral("Tankverzehr"));
        QVERIFY(message == failure ? !box.prompt.isEmpty() : box.prompt == message);
        QVERIFY(f.editor->isVisible());
        if (!focus.isEmpty())
            QCOMPARE(f.editor->focusWidget()->objectName(), focus);
        // Only a refused date empties its field; every other text stays as typed.
        QCOMPARE(f.text(1)->text(), dateRefused ? QString() : texts.at(0));
        QCOMPARE(f.shown().mid(1), row().mid(1));
        if (tableGone)
            QVERIFY(renameTable(f.log.path(), QStringLiteral("Weg"), auto_));
        QCOMPARE(f.log.rows(auto_), autoRows);
        if (retry.isEmpty())
            return;
        texts[0] = retry;
        QTest::keyClicks(f.text(1), retry);
        QTest::mouseClick(command, Qt::LeftButton);
        QCOMPARE(f.messages.shown().size(), 1);
    }
    QTRY_VERIFY(!f.editor->isVisible());
    QList<QStringList> expected = autoRows;
    if (button == 2)
        expected.removeAt(2);
    else
        expected[2] = row();
    QCOMPARE(f.log.rows(auto_), expected);
    QCOMPARE(f.log.rows(QStringLiteral("Motorrad")), QList<QStringList>{EditorFixture::motorradRow});
}

void Bearbeiten1Test::dateCheck_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message"); // empty: accepted
    const auto add = [](const char *tag, const char *date, const char *message) {
        QTest::newRow(tag) << QString::fromUtf8(date) << QString::fromUtf8(message);
    };
    const char *length = "Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!";
    const char *separator = "Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!";
    const char *future = "Falsches Datum angegeben,Jahreszahl größer als aktuelles Datum !!";

    add("1 empty", "", "Ohne Datum läuft hier garnichts !");
    add("2 one-digit day", "1.01.2020", length);
    add("2 blanks only", "         ", length);
    add("3 slash", "01/01.2020", separator);
    add("3 blanks of full length", "          ", separator);
    add("4 comma", "01.01,2020", separator);
    add("5 next year", "01.01.2025", future);
    // The years compare as four digits, never as the last two.
    add("5 a century later", "01.01.2124", future);
    add("6 later day this month", "16.06.2024", future);
    add("6 later month this year", "01.07.2024", future);
    // The future test comes before the tests of day and month.
    add("6 day 32 this month", "32.06.2024", future);
    add("7 year 1899", "31.12.1899", "Geburtsjahr vor 1900 ist ungültig !!");
    add("8 eleven characters", "01.01.x2023", "Falsches Datum angegeben (Format oder Länge falsch) !!");
    add("9 letter day", "a1.01.2023", "Falscher Tag angegeben.\r\nBitte nur Zahlen vo 0-31 angeben");
    add("10 day 00", "00.01.2023", "Falsches Datum angegeben (Tag kleiner 1 ) !!");
    add("11 day 32", "32.01.2023", "Falsches Datum angegeben (Tag größer 31) !!");
    add("12 letter month", "01.x1.2023", "Falscher Monat angegeben.\r\nBitte nur Zahlen vo 0-12 angeben");
    add("13 month 00", "01.00.2023", "Falsches Datum angegeben (Monat kleiner 1)!!");
    add("14 month 13", "01.13.2023", "Falsches Datum angegeben (Monat größer 12) !!");
    add("no 31.04.", "31.04.2023", "Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!");
    add("no 29.02.1900", "29.02.1900", "Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!");
    add("accepted today", "15.06.2024", "");
    add("accepted earlier month, later day", "31.05.2024", "");
    add("accepted a century earlier", "31.12.1925", "");
    add("accepted 1 January 1900", "01.01.1900", "");
    add("accepted leap day 2000", "29.02.2000", "");
}

void Bearbeiten1Test::dateCheck()
{
    QFETCH(QString, date);
    QFETCH(QString, message);

    EditorFixture f;
    QVERIFY(f.open(0));
    f.text(2)->setFocus();
    f.text(1)->setText(date);
    const bool accepted = message.isEmpty();
    // Accepted dates must leave the flag as it was, so start it at the value a refusal would not give.
    f.editor->Datumsfehler = accepted;
    f.editor->Tag = QStringLiteral("xx");
    f.editor->Datumsabfrage();
    QCOMPARE(f.editor->Tag, QStringLiteral("15"));
    QCOMPARE(f.editor->Datumsfehler, true);
    QCOMPARE(f.messages.shown().size(), accepted ? 0 : 1);
    QCOMPARE(f.text(1)->text(), accepted ? date : QString());
    QCOMPARE(f.editor->focusWidget(), f.text(accepted ? 2 : 1));
    if (!accepted) {
        QCOMPARE(f.messages.shown().first().prompt, message);
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("Datum n.i.O."));
        QCOMPARE(f.messages.shown().first().icon, toolkit::MessageBox::Icon::None);
    }
}

void Bearbeiten1Test::typing_data()
{
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<int>("field"); // typed into: 2 litres, 4 kilometres
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("expected"); // the consumption after each key, from 3,999
    QTest::addColumn<QString>("message");      // empty: none
    const auto add = [](const char *tag, const char *litres, const char *kilometres, int field,
                        const char *keys, const QStringList &expected, const QString &message = {}) {
        QTest::newRow(tag) << QString::fromUtf8(litres) << QString::fromUtf8(kilometres) << field
                           << QString::fromUtf8(keys) << expected << message;
    };
    add("500 km on 40 l", "40", "", 4, "500", {"800", "80", "8"});
    add("600 km on 45 l", "45", "", 4, "600", {"750", "75", "7,5"});
    add("3 km on 40 l", "40", "", 4, "3", {"1333,33"});
    add("650 km on 50 l", "50", "", 4, "650", {"833,33", "76,92", "7,69"});
    add("50 l on 650 km", "", "650", 2, "50", {"0,76", "7,69"});
    // A partner that is empty, not above zero or no number leaves the consumption only cut.
    add("kilometres empty", "", "", 2, "40", {"3,99", "3,99"});
    add("kilometres zero", "4", "0", 2, "0", {"3,99"});
    add("kilometres negative", "4", "-500", 2, "0", {"3,99"});
    add("kilometres pasted letters", "4", "abc", 2, "0", {"3,99"});
    add("typed litres negative", "-4", "500", 2, "0", {"3,99"});
    add("typed kilometres zero", "40", "0", 4, "0", {"3,99"});
    // A text that is no number empties the whole field and leaves the consumption as it was.
    add("Backspace to empty", "50", "5", 4, "\b", {"3,999"}, wrongInput);
    add("letter after a digit", "50", "650", 2, "5x", {"77,69", "77,69"}, wrongInput);
    add("overflow", "1E30", "650", 2, "7", {"3,999"}, failure);
}

void Bearbeiten1Test::typing()
{
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    QFETCH(int, field);
    QFETCH(QString, keys);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);

    EditorFixture f;
    QVERIFY(f.open(2));
    f.text(field)->setText(QString());
    // The Enter that closed a message box arrives here as a release only.
    QTest::keyRelease(f.text(field), Qt::Key_Return);
    QVERIFY(f.messages.shown().isEmpty());
    // Set as a paste would, without a key release.
    f.text(2)->setText(litres);
    f.text(4)->setText(kilometres);
    f.text(3)->setText(QStringLiteral("3,999"));
    QStringList seen;
    for (const QChar key : keys) {
        QTest::keyClick(f.text(field), key.toLatin1());
        seen << f.text(3)->text();
    }
    QCOMPARE(seen, expected);
    QCOMPARE(f.text(field)->text(),
             message == wrongInput ? QString() : (field == 2 ? litres : kilometres) + keys);
    QCOMPARE(f.messages.shown().size(), message.isEmpty() ? 0 : 1);
    if (message.isEmpty())
        return;
    const toolkit::MessageBox::Shown box = f.messages.shown().first();
    QVERIFY(message == failure ? !box.prompt.isEmpty() && box.prompt != wrongInput : box.prompt == message);
    QCOMPARE(box.title, QStringLiteral("Tankverzehr"));
    if (message == wrongInput) {
        QCOMPARE(box.icon, toolkit::MessageBox::Icon::None);
        QCOMPARE(f.editor->focusWidget(), f.text(field));
    }
    // Any key release asks again, a key that types nothing included.
    QTest::keyClick(f.text(field), Qt::Key_Shift);
    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown().last().prompt, box.prompt);
    QCOMPARE(f.text(3)->text(), expected.last());
}

QTEST_MAIN(Bearbeiten1Test)
#include "tst_bearbeiten1.moc"

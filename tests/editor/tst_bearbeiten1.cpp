// The editor window driven as the user drives it: activation, save, delete and the live
// recomputation while litres or kilometres are typed.
#include "EditorFixture.h"

#include "Fonts.h"
#include "MessageBox.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using Icon = toolkit::MessageBox::Icon;

namespace {

const QString emptyFields =
    QStringLiteral("Die Felder 'Datum' 'Getankte Liter' 'Literpreis'  müssen ausgefüllt werden !!");
const QString wrongInput = QStringLiteral("Falsche Eingabe");
const QString gone = QStringLiteral("Der gewählte Eintrag ist nicht mehr vorhanden.");

// Datum, Gefahrene Kilometer, Getankte Liter, Verbrauch auf 100 km in Liter
const QList<QStringList> autoRows{
    {"01.01.2024", "500", "40", "8"},      {"15.02.2024", "600", "45", "7,5"},
    {"03.03.2024", "650", "50", "7,6923"}, {"20.04.2024", "3", "40", "1333,33"},
    {"01.05.2024", "180", "6,3", "3,5"},
};
const QStringList motorradRow{"05.05.2023", "180", "6,3", "3,5"};

void fill(TestLog &log)
{
    for (const QStringList &row : autoRows)
        log.append(QStringLiteral("Auto"), row);
    log.append(QStringLiteral("Motorrad"), motorradRow);
}

// The four texts in the order the log keeps them.
QStringList shown(const EditorFixture &f)
{
    return {f.text(1)->text(), f.text(4)->text(), f.text(2)->text(), f.text(3)->text()};
}

QStringList prompts(const MessageRecorder &recorder)
{
    QStringList list;
    for (const toolkit::MessageBox::Shown &box : recorder.shown())
        list << box.prompt;
    return list;
}

// A second opening of the log that renames a table away and back, so that the editor's next
// write finds no log to write into.
class TableMover {
public:
    explicit TableMover(const QString &path) : m_name(QStringLiteral("mover%1").arg(quintptr(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~TableMover() { QSqlDatabase::removeDatabase(m_name); }
    bool rename(const QString &from, const QString &to)
    {
        QSqlQuery query(QSqlDatabase::database(m_name));
        return query.exec(QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(from, to));
    }

private:
    QString m_name;
};

} // namespace

class Bearbeiten1Test : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void windowFrame();
    void tabOrder();
    void picture();

    void activation_data();
    void activation();
    void newPositionWhileOpen();
    void positionOutsideLog_data();
    void positionOutsideLog();
    void missingLogHides();

    void save_data();
    void save();
    void refusedDateThenValidDate();
    void deleteWithoutQuestion();
    void databaseFailureKeepsWindow_data();
    void databaseFailureKeepsWindow();

    void workedValues_data();
    void workedValues();
    void digitByDigit();
    void backspaceToEmpty();
    void letterEmptiesWholeField();
    void noRecomputation_data();
    void noRecomputation();
    void overflowKeepsConsumption();
    void releaseWithoutPressIgnored();
};

void Bearbeiten1Test::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("bold");

    QTest::newRow("Label1") << "Label1" << QRect(120, 480, 1455, 255) << "Getankte Liter" << true;
    QTest::newRow("Label2") << "Label2" << QRect(120, 840, 975, 255) << "Verbrauch" << true;
    QTest::newRow("Label3") << "Label3" << QRect(120, 1200, 1215, 255) << "Kilometer" << true;
    QTest::newRow("Label4") << "Label4" << QRect(120, 120, 1335, 255) << "Datum:" << true;
    QTest::newRow("Text1") << "Text1" << QRect(1680, 120, 1335, 285) << "" << false;
    QTest::newRow("Text2") << "Text2" << QRect(1680, 480, 1335, 285) << "" << false;
    QTest::newRow("Text3") << "Text3" << QRect(1680, 840, 1335, 285) << "" << false;
    QTest::newRow("Text4") << "Text4" << QRect(1680, 1200, 1335, 285) << "" << false;
    QTest::newRow("Command1") << "Command1" << QRect(120, 1560, 1455, 255) << "&Übernahme" << true;
    QTest::newRow("Command2") << "Command2" << QRect(1680, 1560, 1335, 255) << "&Löschen" << true;
}

void Bearbeiten1Test::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(bool, bold);

    EditorFixture f;
    auto *control = f.editor->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(control->font().weight() == QFont::Bold, bold);
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
}

void Bearbeiten1Test::windowFrame()
{
    EditorFixture f;
    QCOMPARE(f.editor->objectName(), QStringLiteral("Bearbeiten1"));
    QCOMPARE(f.editor->windowTitle(), QStringLiteral("Bearbeiten"));
    QCOMPARE(f.editor->minimumSize(), QSize(210, 125));
    QCOMPARE(f.editor->maximumSize(), QSize(210, 125));
    QCOMPARE(f.editor->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(f.editor->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.text(1)->toolTip(), QStringLiteral("Doppelklick=Aktuelles Datum"));
    QVERIFY(!f.text(3)->isEnabled());
    QVERIFY(f.text(1)->isEnabled() && f.text(2)->isEnabled() && f.text(4)->isEnabled());
    QVERIFY(f.editor->findChild<QObject *>(QStringLiteral("Data1")));
    const QPoint offCentre =
        f.editor->geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 20, "the editor is centred on the screen");
}

void Bearbeiten1Test::tabOrder()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 0;
    QVERIFY(f.activate());
    f.text(1)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), f.text(1));
    const QStringList expected{"Text2", "Command1", "Command2", "Text4", "Text1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void Bearbeiten1Test::picture()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 2;
    QVERIFY(f.activate());
    QTRY_COMPARE(f.text(1)->text(), QStringLiteral("03.03.2024"));
    const QString folder = qEnvironmentVariable("TANKVERZEHR_TEST_OUTPUT", QDir::currentPath());
    QVERIFY(f.editor->grab().save(QDir(folder).filePath(QStringLiteral("editor.png"))));
}

void Bearbeiten1Test::activation_data()
{
    QTest::addColumn<QString>("fahrzeug");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("first entry") << "Auto" << 0 << autoRows.at(0);
    QTest::newRow("middle entry") << "Auto" << 2 << autoRows.at(2);
    QTest::newRow("last entry") << "Auto" << 4 << autoRows.at(4);
    QTest::newRow("other vehicle") << "Motorrad" << 0 << motorradRow;
}

void Bearbeiten1Test::activation()
{
    QFETCH(QString, fahrzeug);
    QFETCH(int, position);
    QFETCH(QStringList, expected);

    EditorFixture f;
    fill(f.log);
    f.fahrzeug = fahrzeug;
    f.datensatznummer = position;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), expected);
    QVERIFY(f.messages.shown().isEmpty());
    QVERIFY(f.editor->isVisible());
}

void Bearbeiten1Test::newPositionWhileOpen()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 1;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(1));

    // Typing that was never stored is dropped by the next activation's re-read.
    f.text(2)->selectAll();
    QTest::keyClicks(f.text(2), QStringLiteral("99"));
    QCOMPARE(f.text(2)->text(), QStringLiteral("99"));

    QVERIFY(f.activateOther());
    f.datensatznummer = 3;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(3));

    QVERIFY(f.activateOther());
    f.datensatznummer = 1;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(1));
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), autoRows);
    QVERIFY(f.messages.shown().isEmpty());
}

void Bearbeiten1Test::positionOutsideLog_data()
{
    QTest::addColumn<bool>("filled");
    QTest::addColumn<QVariant>("position");

    QTest::newRow("one beyond the last") << true << QVariant(5);
    QTest::newRow("far beyond the last") << true << QVariant(1000000);
    QTest::newRow("negative") << true << QVariant(-1);
    QTest::newRow("never chosen") << true << QVariant();
    QTest::newRow("not a number") << true << QVariant(QStringLiteral("x"));
    QTest::newRow("empty log") << false << QVariant(0);
}

void Bearbeiten1Test::positionOutsideLog()
{
    QFETCH(bool, filled);
    QFETCH(QVariant, position);

    EditorFixture f;
    if (filled)
        fill(f.log);
    f.datensatznummer = position;
    f.editor->show();
    f.editor->activateWindow();
    QTRY_COMPARE(f.messages.shown().size(), 1);
    const toolkit::MessageBox::Shown box = f.messages.shown().first();
    QCOMPARE(box.prompt, gone);
    QCOMPARE(box.title, QStringLiteral("Tankverzehr"));
    QCOMPARE(box.icon, Icon::None);
    QTRY_VERIFY(!f.editor->isVisible());
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), filled ? autoRows : QList<QStringList>());
}

void Bearbeiten1Test::missingLogHides()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 0;
    QVERIFY(QFile::remove(f.log.path()));
    f.editor->show();
    f.editor->activateWindow();
    QTRY_COMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("Tankverzehr"));
    QVERIFY(f.messages.shown().first().prompt != gone);
    QTRY_VERIFY(!f.editor->isVisible());
    QVERIFY(!QFile::exists(f.log.path()));
}

void Bearbeiten1Test::save_data()
{
    QTest::addColumn<QStringList>("texts"); // Text1 .. Text4
    QTest::addColumn<QStringList>("expectedPrompts");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("focus");

    const QString future =
        QStringLiteral("Falsches Datum angegeben,Jahreszahl größer als aktuelles Datum !!");
    QTest::newRow("all filled") << QStringList{"10.06.2024", "42", "7", "600"} << QStringList() << true << "";
    QTest::newRow("Text4 empty") << QStringList{"10.06.2024", "42", "7", ""} << QStringList() << true << "";
    QTest::newRow("blanks in Text1 are filled but no date")
        << QStringList{"          ", "42", "7", "600"}
        << QStringList{"Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!"} << false << "Text1";
    QTest::newRow("Text1 empty") << QStringList{"", "42", "7", "600"} << QStringList{emptyFields} << false
                                 << "Text1";
    QTest::newRow("Text2 empty") << QStringList{"10.06.2024", "", "7", "600"} << QStringList{emptyFields}
                                 << false << "Text2";
    QTest::newRow("Text3 empty, kilometres there")
        << QStringList{"10.06.2024", "42", "", "600"} << QStringList{emptyFields} << false << "Text2";
    QTest::newRow("Text3 empty, kilometres missing")
        << QStringList{"10.06.2024", "42", "", ""} << QStringList{emptyFields} << false << "Text4";
    QTest::newRow("all three empty, one message")
        << QStringList{"", "", "", ""} << QStringList{emptyFields} << false << "Text1";
    QTest::newRow("date refused") << QStringList{"16.06.2024", "42", "7", "600"} << QStringList{future}
                                  << false << "Text1";
}

void Bearbeiten1Test::save()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, expectedPrompts);
    QFETCH(bool, stored);
    QFETCH(QString, focus);

    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 2;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(2));
    for (int i = 0; i < 4; ++i)
        f.put(i + 1, texts.at(i));
    QTest::mouseClick(f.command(1), Qt::LeftButton);

    QCOMPARE(prompts(f.messages), expectedPrompts);
    QCOMPARE(f.editor->Datumsfehler, false);
    QList<QStringList> expectedRows = autoRows;
    if (stored) {
        expectedRows[2] = QStringList{texts.at(0), texts.at(3), texts.at(1), texts.at(2)};
        QTRY_VERIFY(!f.editor->isVisible());
    } else {
        QVERIFY(f.editor->isVisible());
        QCOMPARE(f.editor->focusWidget()->objectName(), focus);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(f.text(i + 1)->text(), texts.at(i));
    }
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), expectedRows);
    QCOMPARE(f.log.rows(QStringLiteral("Motorrad")), QList<QStringList>{motorradRow});
}

void Bearbeiten1Test::refusedDateThenValidDate()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 4;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(4));
    f.put(1, QString());
    QTest::keyClicks(f.text(1), QStringLiteral("1.05.2024"));
    QTest::mouseClick(f.command(1), Qt::LeftButton);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("Datum n.i.O."));
    QCOMPARE(f.text(1)->text(), QString());
    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), autoRows);

    QTest::keyClicks(f.text(1), QStringLiteral("02.05.2024"));
    QTest::mouseClick(f.command(1), Qt::LeftButton);
    QCOMPARE(f.messages.shown().size(), 1);
    QTRY_VERIFY(!f.editor->isVisible());
    QList<QStringList> expected = autoRows;
    expected[4][0] = QStringLiteral("02.05.2024");
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), expected);
}

void Bearbeiten1Test::deleteWithoutQuestion()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 2;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(2));
    QTest::mouseClick(f.command(2), Qt::LeftButton);
    QVERIFY(f.messages.shown().isEmpty());
    QTRY_VERIFY(!f.editor->isVisible());
    QList<QStringList> expected = autoRows;
    expected.removeAt(2);
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), expected);
    QCOMPARE(f.log.count(QStringLiteral("Motorrad")), 1);
}

void Bearbeiten1Test::databaseFailureKeepsWindow_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<bool>("moveTable");

    QTest::newRow("save: letters pasted into kilometres") << 1 << "zwölf" << false;
    QTest::newRow("save: blanks only in kilometres") << 1 << "   " << false;
    QTest::newRow("save: log gone") << 1 << "600" << true;
    QTest::newRow("delete: log gone") << 2 << "600" << true;
}

void Bearbeiten1Test::databaseFailureKeepsWindow()
{
    QFETCH(int, button);
    QFETCH(QString, kilometres);
    QFETCH(bool, moveTable);

    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 1;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(1));
    f.put(1, QStringLiteral("10.06.2024"));
    f.put(4, kilometres);
    TableMover mover(f.log.path());
    if (moveTable)
        QVERIFY(mover.rename(QStringLiteral("Auto"), QStringLiteral("Weg")));

    QTest::mouseClick(f.command(button), Qt::LeftButton);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("Tankverzehr"));
    QVERIFY(!f.messages.shown().first().prompt.isEmpty());
    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.editor->Datumsfehler, false);
    QCOMPARE(f.text(1)->text(), QStringLiteral("10.06.2024"));
    QCOMPARE(f.text(4)->text(), kilometres);

    if (moveTable)
        QVERIFY(mover.rename(QStringLiteral("Weg"), QStringLiteral("Auto")));
    QCOMPARE(f.log.rows(QStringLiteral("Auto")), autoRows);
}

void Bearbeiten1Test::workedValues_data()
{
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<bool>("kilometresFirst");
    QTest::addColumn<QString>("expected");

    for (const bool kilometresFirst : {false, true}) {
        const char *order = kilometresFirst ? "kilometres first" : "litres first";
        QTest::addRow("40/500 %s", order) << "40"
                                          << "500" << kilometresFirst << "8";
        QTest::addRow("45/600 %s", order) << "45"
                                          << "600" << kilometresFirst << "7,5";
        QTest::addRow("40/3 %s", order) << "40"
                                        << "3" << kilometresFirst << "1333,33";
        QTest::addRow("50/650 %s", order) << "50"
                                          << "650" << kilometresFirst << "7,69";
    }
}

void Bearbeiten1Test::workedValues()
{
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    QFETCH(bool, kilometresFirst);
    QFETCH(QString, expected);

    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 0;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(0));
    f.put(2, QString());
    f.put(4, QString());
    f.put(3, QStringLiteral("0,123"));
    if (kilometresFirst) {
        QTest::keyClicks(f.text(4), kilometres);
        QCOMPARE(f.text(3)->text(), QStringLiteral("0,12"));
        QTest::keyClicks(f.text(2), litres);
    } else {
        QTest::keyClicks(f.text(2), litres);
        QCOMPARE(f.text(3)->text(), QStringLiteral("0,12"));
        QTest::keyClicks(f.text(4), kilometres);
    }
    QCOMPARE(f.text(3)->text(), expected);
    QVERIFY(f.messages.shown().isEmpty());
}

void Bearbeiten1Test::digitByDigit()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 0;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(0));
    f.put(4, QString());
    QStringList seen;
    for (const QChar digit : QStringLiteral("500")) {
        QTest::keyClick(f.text(4), digit.toLatin1());
        seen << f.text(3)->text();
    }
    QCOMPARE(seen, (QStringList{"800", "80", "8"}));
}

void Bearbeiten1Test::backspaceToEmpty()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 2;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(2));
    f.put(4, QStringLiteral("5"));
    f.text(4)->setFocus();
    f.text(4)->end(false);
    QTest::keyClick(f.text(4), Qt::Key_Backspace);
    QCOMPARE(prompts(f.messages), QStringList{wrongInput});
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("Tankverzehr"));
    QCOMPARE(f.messages.shown().first().icon, Icon::None);
    QCOMPARE(f.text(4)->text(), QString());
    QCOMPARE(f.editor->focusWidget(), f.text(4));
    QCOMPARE(f.text(3)->text(), QStringLiteral("7,6923"));

    QTest::keyClick(f.text(4), Qt::Key_Shift);
    QCOMPARE(prompts(f.messages), (QStringList{wrongInput, wrongInput}));
    QCOMPARE(f.text(3)->text(), QStringLiteral("7,6923"));
}

void Bearbeiten1Test::letterEmptiesWholeField()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 0;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(0));
    f.text(2)->end(false);
    QTest::keyClicks(f.text(2), QStringLiteral("5x"));
    QCOMPARE(prompts(f.messages), QStringList{wrongInput});
    QCOMPARE(f.text(2)->text(), QString());
    QCOMPARE(f.editor->focusWidget(), f.text(2));
    QCOMPARE(f.text(3)->text(), QStringLiteral("81")); // from 405 l on 500 km, before the letter
}

void Bearbeiten1Test::noRecomputation_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("partner");

    QTest::newRow("kilometres empty") << 2 << "4"
                                      << "0"
                                      << "";
    QTest::newRow("kilometres zero") << 2 << "4"
                                     << "0"
                                     << "0";
    QTest::newRow("kilometres negative") << 2 << "4"
                                         << "0"
                                         << "-500";
    QTest::newRow("kilometres pasted letters") << 2 << "4"
                                               << "0"
                                               << "abc";
    QTest::newRow("litres empty") << 4 << "50"
                                  << "0"
                                  << "";
    QTest::newRow("litres zero") << 4 << "50"
                                 << "0"
                                 << "0";
    QTest::newRow("typed litres negative") << 2 << "-4"
                                           << "0"
                                           << "500";
    QTest::newRow("typed kilometres zero") << 4 << "0"
                                           << "0"
                                           << "40";
}

void Bearbeiten1Test::noRecomputation()
{
    QFETCH(int, typed);
    QFETCH(QString, before);
    QFETCH(QString, key);
    QFETCH(QString, partner);

    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 2;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(2));
    f.put(typed == 2 ? 4 : 2, partner);
    f.put(typed, before);
    f.text(typed)->end(false);
    QTest::keyClicks(f.text(typed), key);
    QCOMPARE(f.text(3)->text(), QStringLiteral("7,69"));
    QVERIFY(f.messages.shown().isEmpty());
}

void Bearbeiten1Test::overflowKeepsConsumption()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 2;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(2));
    f.put(2, QStringLiteral("1E307"));
    QTest::keyClick(f.text(2), Qt::Key_Right);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("Tankverzehr"));
    QVERIFY(f.messages.shown().first().prompt != wrongInput);
    QCOMPARE(f.text(3)->text(), QStringLiteral("7,6923"));
    QCOMPARE(f.text(2)->text(), QStringLiteral("1E307"));

    // An arrow key in a field that holds a number recomputes all the same.
    f.put(2, QStringLiteral("50"));
    QTest::keyClick(f.text(2), Qt::Key_Left);
    QCOMPARE(f.text(3)->text(), QStringLiteral("7,69"));
}

void Bearbeiten1Test::releaseWithoutPressIgnored()
{
    EditorFixture f;
    fill(f.log);
    f.datensatznummer = 0;
    QVERIFY(f.activate());
    QTRY_COMPARE(shown(f), autoRows.at(0));
    f.put(4, QString());
    // The Enter that closed a message box arrives here as a release only.
    QTest::keyRelease(f.text(4), Qt::Key_Return);
    QVERIFY(f.messages.shown().isEmpty());
    QTest::keyClick(f.text(4), Qt::Key_Return);
    QCOMPARE(prompts(f.messages), QStringList{wrongInput});
}

QTEST_MAIN(Bearbeiten1Test)
#include "tst_bearbeiten1.moc"

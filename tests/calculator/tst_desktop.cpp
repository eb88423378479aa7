// The program among the windows of a desktop: after a message box the window beneath it has the
// keys again, whichever window the window manager picked meanwhile; a minimised window comes back;
// an Alt+letter that no control carries types nothing; a screen reader hears what each box is for.
#include "Activation.h"
#include "Clock.h"
#include "MessageBox.h"
#include "Tankverzehrsberechnung.h"
#include "TestLog.h"

#include <QAccessible>
#include <QApplication>
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
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

template <typename T = QLineEdit> T *in(QWidget *window, const QString &name)
{
    return window ? window->findChild<T *>(name) : nullptr;
}

// The three windows over a log with one car entry, the editor open on it and the main window
// active last, as after a user's walk through them.
class Program {
public:
    TestLog log;
    Tankverzehrsberechnung main;

    Program()
    {
        toolkit::Clock::setFixedToday(QDate(2026, 12, 7));
        log.append(QStringLiteral("Auto"), {"01.12.2026", "400", "30", "7,5"});
        main.show();
    }
    ~Program() { toolkit::Clock::setFixedToday(std::nullopt); }

    QWidget *overview() const { return topLevel(QStringLiteral("Übersicht")); }
    QWidget *editor() const { return topLevel(QStringLiteral("Bearbeiten1")); }

    bool openOverview()
    {
        QTest::mouseClick(in<QPushButton>(&main, QStringLiteral("Command2")), Qt::LeftButton);
        return overview() && QTest::qWaitForWindowActive(overview());
    }
    bool openEditor()
    {
        auto *grid = in<QTableView>(overview(), QStringLiteral("DBGrid1"));
        QHeaderView *selectors = grid->verticalHeader();
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                          QPoint(selectors->width() / 2, selectors->sectionSize(0) / 2));
        QTest::mouseClick(in<QPushButton>(overview(), QStringLiteral("Command1")), Qt::LeftButton);
        return editor() && QTest::qWaitForWindowActive(editor());
    }
    bool openAll()
    {
        return QTest::qWaitForWindowActive(&main) && openOverview() && openEditor() &&
               QTest::qWaitFor([this] { return in(editor(), QStringLiteral("Text2"))->text() == "30"; });
    }
};

// Stands in for the message box and for a window manager that, when a box closes, activates
// another window of the program than the one the box was shown over.
class WindowManagerPicks {
public:
    explicit WindowManagerPicks(QWidget *window)
    {
        toolkit::MessageBox::setSink([this, window](const toolkit::MessageBox::Shown &box) {
            m_prompts << box.prompt;
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
        });
    }
    ~WindowManagerPicks() { toolkit::MessageBox::setSink({}); }
    const QStringList &prompts() const { return m_prompts; }

private:
    QStringList m_prompts;
};

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void keysAfterMessageBox_data();
    void keysAfterMessageBox();
    void minimisedWindowComesBack_data();
    void minimisedWindowComesBack();
    void strayAccessKeys_data();
    void strayAccessKeys();
    void screenReaderNames_data();
    void screenReaderNames();
};

void DesktopTest::keysAfterMessageBox_data()
{
    QTest::addColumn<QString>("window");   // where the box comes up
    QTest::addColumn<QString>("action");   // what brings it up
    QTest::addColumn<QString>("prompt");   // the start of its prompt
    QTest::addColumn<QString>("expected"); // the box that has the focus afterwards

    QTest::newRow("letters in the calculator") << "main"
                                               << "letters"
                                               << "KIlometer"
                                               << "Text1";
    QTest::newRow("letter in the editor's litres") << "editor"
                                                   << "letter"
                                                   << "Falsche Eingabe"
                                                   << "Text2";
    QTest::newRow("date refused by the editor") << "editor"
                                                << "date"
                                                << "Das Datum"
                                                << "Text1";
    QTest::newRow("empty field in the editor") << "editor"
                                               << "empty"
                                               << "Die Felder"
                                               << "Text2";
}

void DesktopTest::keysAfterMessageBox()
{
    QFETCH(QString, window);
    QFETCH(QString, action);
    QFETCH(QString, prompt);
    QFETCH(QString, expected);

    Program program;
    QVERIFY(program.openAll());
    QWidget *boxOwner = window == QLatin1String("main") ? &program.main : program.editor();
    QWidget *picked = window == QLatin1String("main") ? program.overview() : &program.main;
    boxOwner->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(boxOwner));
    // An edit of the user's that no box may undo: the editor must not read its entry again.
    QLineEdit *kilometres = in(program.editor(), QStringLiteral("Text4"));
    kilometres->setText(QStringLiteral("555"));

    WindowManagerPicks windowManager(picked);
    if (action == QLatin1String("letters")) {
        QTest::keyClicks(in(&program.main, QStringLiteral("Text1")), QStringLiteral("abc"));
        QTest::mouseClick(in<QPushButton>(&program.main, QStringLiteral("Command1")), Qt::LeftButton);
    } else if (action == QLatin1String("letter")) {
        QTest::keyClick(in(boxOwner, QStringLiteral("Text2")), Qt::Key_X);
    } else {
        in(boxOwner, action == QLatin1String("date") ? QStringLiteral("Text1") : QStringLiteral("Text2"))
            ->setText(action == QLatin1String("date") ? QStringLiteral("1.12.2026") : QString());
        QTest::mouseClick(in<QPushButton>(boxOwner, QStringLiteral("Command1")), Qt::LeftButton);
    }
    QCOMPARE(windowManager.prompts().size(), 1);
    QVERIFY(windowManager.prompts().first().startsWith(prompt));

    QTRY_COMPARE(QApplication::activeWindow(), boxOwner);
    QTRY_VERIFY(!toolkit::Activation::isSettling());
    QCOMPARE(QApplication::activeWindow(), boxOwner);
    QLineEdit *focused = in(boxOwner, expected);
    QCOMPARE(QApplication::focusWidget(), focused);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("44"));
    QCOMPARE(focused->text(), QStringLiteral("44"));
    if (boxOwner != &program.main)
        QCOMPARE(in(&program.main, QStringLiteral("Text1"))->text(), QString());
    QCOMPARE(kilometres->text(), QStringLiteral("555"));
    QCOMPARE(program.log.rows(QStringLiteral("Auto")).size(), 1);
}

void DesktopTest::minimisedWindowComesBack_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("overview, with Übersicht") << "Übersicht";
    QTest::newRow("editor, with Bearbeiten") << "Bearbeiten1";
}

void DesktopTest::minimisedWindowComesBack()
{
    QFETCH(QString, window);
    Program program;
    QVERIFY(program.openAll());
    QWidget *minimised = topLevel(window);
    minimised->showMinimized();
    QTRY_VERIFY(minimised->isMinimized());
    // Meanwhile the entry changes: coming back is an activation, which reads it again.
    QVERIFY(TestLog::query(program.log.path(), QStringLiteral("UPDATE \"Auto\" SET \"Getankte Liter\" = 32"))
                .isEmpty());

    if (window == QStringLiteral("Übersicht")) {
        program.main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        QVERIFY(program.openOverview());
    } else {
        program.overview()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(program.overview()));
        QVERIFY(program.openEditor());
    }
    QTRY_VERIFY(!minimised->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), minimised);
    if (window == QStringLiteral("Übersicht"))
        QTRY_COMPARE(in<QLabel>(minimised, QStringLiteral("Label6"))->text(), QStringLiteral("32"));
    else
        QTRY_COMPARE(in(minimised, QStringLiteral("Text2"))->text(), QStringLiteral("32"));
}

void DesktopTest::strayAccessKeys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("calculated"); // a result stands and the button reads "&Nochmal"
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Alt+B on Nochmal") << "main"
                                      << "Text1" << true << QKeySequence("Alt+B") << ""
                                      << "30";
    QTest::newRow("Alt+N on Berechnen") << "main"
                                        << "Text1" << false << QKeySequence("Alt+N") << ""
                                        << "30";
    QTest::newRow("Alt+X in the kilometres") << "main"
                                             << "Text2" << false << QKeySequence("Alt+X") << ""
                                             << "400";
    QTest::newRow("Alt+X in the editor") << "editor"
                                         << "Text4" << false << QKeySequence("Alt+X") << ""
                                         << "400";
    // Windows reports AltGr as Ctrl+Alt: such characters are typed.
    QTest::newRow("AltGr at sign") << "main"
                                   << "Text1" << false << QKeySequence("Ctrl+Alt+Q") << "@"
                                   << "30@";
}

void DesktopTest::strayAccessKeys()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(bool, calculated);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    Program program;
    QVERIFY(QTest::qWaitForWindowActive(&program.main));
    QTest::keyClicks(in(&program.main, QStringLiteral("Text1")), QStringLiteral("30"));
    QTest::keyClicks(in(&program.main, QStringLiteral("Text2")), QStringLiteral("400"));
    if (calculated)
        QTest::mouseClick(in<QPushButton>(&program.main, QStringLiteral("Command1")), Qt::LeftButton);
    QWidget *target = &program.main;
    if (window == QLatin1String("editor")) {
        QVERIFY(program.openOverview() && program.openEditor());
        target = program.editor();
    }
    QLineEdit *typedInto = in(target, box);
    typedInto->setFocus();
    const QKeyCombination key = keys[0];
    QTest::sendKeyEvent(QTest::Click, typedInto, key.key(), text, key.keyboardModifiers());

    QCOMPARE(typedInto->text(), expected);
    QCOMPARE(program.log.rows(QStringLiteral("Auto")).size(), calculated ? 2 : 1);
    QCOMPARE(in<QPushButton>(&program.main, QStringLiteral("Command1"))->text(),
             calculated ? QStringLiteral("&Nochmal") : QStringLiteral("&Berechnen"));
}

void DesktopTest::screenReaderNames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");

    QTest::newRow("litres") << "Tankverzehrsberechnung"
                            << "Text1"
                            << "Verbrauchte Liter";
    QTest::newRow("kilometres") << "Tankverzehrsberechnung"
                                << "Text2"
                                << "Gefahrene Kilometer";
    QTest::newRow("vehicle") << "Tankverzehrsberechnung"
                             << "Combo1"
                             << "Fahrzeug";
    QTest::newRow("total kilometres") << "Übersicht"
                                      << "Label5"
                                      << "Gesamte Kilometer";
    QTest::newRow("total litres") << "Übersicht"
                                  << "Label6"
                                  << "Gesamte Liter";
    QTest::newRow("average") << "Übersicht"
                             << "Label7"
                             << "Durchschnitts- verbrauch";
    QTest::newRow("grid") << "Übersicht"
                          << "DBGrid1"
                          << "Einträge";
    QTest::newRow("date") << "Bearbeiten1"
                          << "Text1"
                          << "Datum";
    QTest::newRow("entry's litres") << "Bearbeiten1"
                                    << "Text2"
                                    << "Getankte Liter";
    QTest::newRow("consumption") << "Bearbeiten1"
                                 << "Text3"
                                 << "Verbrauch";
    QTest::newRow("entry's kilometres") << "Bearbeiten1"
                                        << "Text4"
                                        << "Kilometer";
}

void DesktopTest::screenReaderNames()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);

    Program program;
    QVERIFY(program.openAll());
    QWidget *widget = in<QWidget>(topLevel(window), control);
    QVERIFY(widget);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    // A list's name is its chosen item; its heading reaches a screen reader as its label.
    QStringList heard{accessible->text(QAccessible::Name)};
    for (const auto &[label, relation] : accessible->relations(QAccessible::Label))
        heard << label->text(QAccessible::Name);
    QVERIFY2(heard.contains(name), qPrintable(heard.join(QStringLiteral(" | "))));
    // A value field's value is heard as its description.
    if (const auto *value = qobject_cast<QLabel *>(widget))
        QCOMPARE(accessible->text(QAccessible::Description), value->text());
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"

// The window services: real message boxes, activation that ignores a closing message box,
// the failure helper, today's date and the program directory.
#include "Activation.h"
#include "Clock.h"
#include "Failure.h"
#include "HandlerGuard.h"
#include "MessageBox.h"
#include "ProgramDirectory.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

// What the test saw of the message box that was on screen, read while it was open.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool modal = false;
    int promptRoom = 0;  // how wide the prompt's label is
    int longestLine = 0; // how wide its longest line is written
    int boxWidth = 0;
    int titleWidth = 0; // how wide the title is written in bold
};

// Closes the next message box with its OK button once it is shown, noting what it looked like.
void closeNextBox(SeenBox *seen)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = static_cast<int>(box->findChild<QDialogButtonBox *>()->buttons().size());
        seen->modal = box->isModal();
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        seen->promptRoom = label->contentsRect().width();
        for (const QString &line : box->text().split(QLatin1Char('\n')))
            seen->longestLine = qMax(seen->longestLine, label->fontMetrics().horizontalAdvance(line));
        seen->boxWidth = box->width();
        QFont bold = box->font();
        bold.setBold(true);
        seen->titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        timer->deleteLater();
    });
    timer->start();
}

} // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private slots:
    void realMessageBox_data();
    void realMessageBox();
    void germanStandardTexts();
    void closingMessageBoxIsNoActivation();
    void handlerGuardEndsHandler();
    void dateText_data();
    void dateText();
    void programDirectory();
};

void ToolkitTest::realMessageBox_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("expectedIcon");

    const QString longLine =
        QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??");
    const QString secondLine = QString(37, QLatin1Char(' ')) + QStringLiteral("Also nochmal !!");
    QTest::newRow("two long lines with information icon")
        << longLine + "\r\n" + secondLine << "Fehler" << int(toolkit::MessageBox::Icon::Information)
        << "Fehler" << longLine + "\n" + secondLine << int(QMessageBox::Information);
    QTest::newRow("program title, no icon") << "Falsche Eingabe"
                                            << "" << int(toolkit::MessageBox::Icon::None) << "Tankverzehr"
                                            << "Falsche Eingabe" << int(QMessageBox::NoIcon);
}

void ToolkitTest::realMessageBox()
{
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QFETCH(int, icon);
    SeenBox seen;
    closeNextBox(&seen);
    toolkit::MessageBox::show(prompt, title, toolkit::MessageBox::Icon(icon));

    QTEST(seen.title, "expectedTitle");
    QTEST(seen.text, "expectedText");
    QTEST(int(seen.icon), "expectedIcon");
    QCOMPARE(seen.buttons, 1);
    QVERIFY(seen.modal);
    // Each line of the prompt is one line of the box, and a window manager's title bar has room
    // for the whole title beside its buttons.
    QVERIFY2(seen.promptRoom >= seen.longestLine, qPrintable(QString::number(seen.promptRoom)));
    QVERIFY2(seen.boxWidth >= seen.titleWidth + 100, qPrintable(QString::number(seen.boxWidth)));
}

void ToolkitTest::germanStandardTexts()
{
    QVERIFY(toolkit::Translations::installGerman(qApp));
    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
    QVERIFY2(texts.contains(QStringLiteral("&Rückgängig")), qPrintable(texts.join(u'|')));
    QVERIFY2(texts.contains(QStringLiteral("Alles auswählen")), qPrintable(texts.join(u'|')));
}

void ToolkitTest::closingMessageBoxIsNoActivation()
{
    QWidget window;
    int activations = 0;
    connect(new toolkit::Activation(&window), &toolkit::Activation::activated, &window,
            [&] { ++activations; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(activations, 1);

    // The window system hands the focus back to the window after its box: that is not the user
    // coming back to it. (The offscreen platform does not hand it back by itself, so the test does.)
    SeenBox seen;
    closeNextBox(&seen);
    toolkit::MessageBox::show(QStringLiteral("Hinweis"));
    QCOMPARE(seen.text, QStringLiteral("Hinweis"));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(activations, 1);

    // Coming back from another window of the program is, once the box has gone.
    QTRY_VERIFY(!toolkit::Activation::isSettling());
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(activations, 2);
}

void ToolkitTest::handlerGuardEndsHandler()
{
    QList<toolkit::MessageBox::Shown> shown;
    toolkit::MessageBox::setSink([&](const toolkit::MessageBox::Shown &box) { shown.append(box); });
    QStringList steps;
    const bool finished = toolkit::HandlerGuard::run([&] {
        steps << "vorher";
        throw toolkit::Failure(QStringLiteral("Die Datei fehlt."));
        steps << "nachher";
    });
    const bool clean = toolkit::HandlerGuard::run([&] { steps << "sauber"; });
    toolkit::MessageBox::setSink({});

    QVERIFY(!finished);
    QVERIFY(clean);
    QCOMPARE(steps, QStringList({"vorher", "sauber"}));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QStringLiteral("Die Datei fehlt."));
    QCOMPARE(shown[0].title, QStringLiteral("Tankverzehr"));
}

void ToolkitTest::dateText_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded day and month") << QDate(2026, 3, 7) << "07.03.2026";
    QTest::newRow("end of year") << QDate(1999, 12, 31) << "31.12.1999";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << "29.02.2024";
    QTest::newRow("early year padded") << QDate(987, 1, 1) << "01.01.0987";
}

void ToolkitTest::dateText()
{
    QFETCH(QDate, day);
    QFETCH(QString, text);
    toolkit::Clock::setFixedToday(day);
    QCOMPARE(toolkit::Clock::todayText(), text);
    toolkit::Clock::setFixedToday(std::nullopt);
    QCOMPARE(toolkit::Clock::todayText(), toolkit::Clock::dateText(QDate::currentDate()));
}

void ToolkitTest::programDirectory()
{
    QCOMPARE(toolkit::ProgramDirectory::path(), QCoreApplication::applicationDirPath());
    toolkit::ProgramDirectory::setOverride(QStringLiteral("/tmp/tv-test/"));
    QCOMPARE(toolkit::ProgramDirectory::path(), QStringLiteral("/tmp/tv-test"));
    QCOMPARE(toolkit::ProgramDirectory::databasePath(), QStringLiteral("/tmp/tv-test/Verbrauch.mdb"));
    toolkit::ProgramDirectory::setOverride(QString());
    QCOMPARE(toolkit::ProgramDirectory::databasePath(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/Verbrauch.mdb"));
}

QTEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"

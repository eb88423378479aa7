// The window services: real message boxes and what comes after them, today's date and the
// program directory. The failure guard and Qt's German texts are seen through the windows' tests
// and the end-to-end walk.
#include "Activation.h"
#include "Clock.h"
#include "MessageBox.h"
#include "ProgramDirectory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

// What a real message box showed, read while it was open.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool linesFit = false;  // each line of the prompt is one line of the box
    bool titleFits = false; // room for the title beside a title bar's icon and buttons
    double screenShare = 0; // its width against the screen's
    bool allShown = false;  // no words cut off
};

// Closes the next message box with its OK button once it is shown, noting what it looked like.
void closeNextBox(SeenBox *seen)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->isModal())
            return;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = static_cast<int>(box->findChild<QDialogButtonBox *>()->buttons().size());
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        int longest = 0;
        for (const QString &line : box->text().split(QLatin1Char('\n')))
            longest = qMax(longest, label->fontMetrics().horizontalAdvance(line));
        seen->linesFit = label->contentsRect().width() >= longest;
        const QRect wrapped =
            label->fontMetrics().boundingRect(label->contentsRect(), Qt::TextWordWrap, box->text());
        seen->allShown = label->contentsRect().height() >= wrapped.height();
        QFont bold = box->font();
        bold.setBold(true);
        seen->titleFits = box->width() >= QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 100;
        seen->screenShare = double(box->width()) / box->screen()->availableGeometry().width();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        timer->deleteLater();
    });
    timer->start();
}

} // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private slots:
    void realMessageBox_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("information");
        QTest::addColumn<bool>("oneLineEach"); // false: a line wider than the screen is broken
        QTest::addColumn<QString>("shown");    // the text in the box
        const QString longLine =
            QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??");
        const QString markup =
            QStringLiteral("Die Datei \"/home/<b>ich</b>/Verbrauch.mdb\" ist schreibgeschützt.");
        const QString wide = QString(longLine + u' ').repeated(8);
        // clang-format off
        QTest::newRow("two long lines, information") << longLine + "\r\n   Also nochmal !!" << "Fehler" << true << true << longLine + "\n   Also nochmal !!";
        QTest::newRow("short, the program's title") << "Falsche Eingabe" << "" << false << true << "Falsche Eingabe";
        QTest::newRow("shown as typed, not as markup") << markup << "" << false << true << markup;
        QTest::newRow("a line wider than the screen") << wide << "" << false << false << wide;
        // clang-format on
    }

    void realMessageBox()
    {
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        QFETCH(bool, information);
        QFETCH(bool, oneLineEach);
        QFETCH(QString, shown);
        SeenBox seen;
        closeNextBox(&seen);
        toolkit::MessageBox::show(prompt, title,
                                  information ? toolkit::MessageBox::Icon::Information
                                              : toolkit::MessageBox::Icon::None);

        QCOMPARE(seen.title, title.isEmpty() ? QStringLiteral("Tankverzehr") : title);
        QCOMPARE(seen.text, shown);
        QCOMPARE(seen.icon, information ? QMessageBox::Information : QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, 1);
        QCOMPARE(seen.linesFit, oneLineEach);
        QVERIFY(seen.titleFits);
        // As wide as its text needs, and no wider than the screen.
        QVERIFY(oneLineEach ? seen.screenShare < 1.0 : seen.screenShare <= 1.0);
        QVERIFY(seen.allShown);
    }

    void closingMessageBoxIsNoActivation()
    {
        QWidget window;
        int activations = 0;
        connect(new toolkit::Activation(&window), &toolkit::Activation::activated, &window,
                [&] { ++activations; });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(activations, 1);

        // The window system hands the focus back to the window after its box: that is not the user
        // coming back to it. (The offscreen platform does not hand it back by itself; the box does.)
        SeenBox seen;
        closeNextBox(&seen);
        toolkit::MessageBox::show(QStringLiteral("Hinweis"));
        QCOMPARE(seen.text, QStringLiteral("Hinweis"));
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(activations, 1);

        // A window manager may activate another window of the program while a box is open and
        // again just after it closed: the window beneath the box gets the keys back all the same,
        // and that is no activation of either window.
        QTRY_VERIFY(!toolkit::Activation::isSettling());
        QWidget other;
        int otherActivations = 0;
        connect(new toolkit::Activation(&other), &toolkit::Activation::activated, &other,
                [&] { ++otherActivations; });
        other.show();
        other.activateWindow();
        QTRY_COMPARE(otherActivations, 1);
        window.activateWindow();
        QTRY_COMPARE(activations, 2);
        toolkit::MessageBox::setSink([&](const toolkit::MessageBox::Shown &) {
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QTimer::singleShot(50, &other, [&] { other.activateWindow(); });
        });
        toolkit::MessageBox::show(QStringLiteral("Hinweis"));
        toolkit::MessageBox::setSink({});
        QTRY_VERIFY(!toolkit::Activation::isSettling());
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QCOMPARE(activations, 2);
        QCOMPARE(otherActivations, 1);

        // Coming back from another window of the program is, once the box has gone.
        other.activateWindow();
        QTRY_COMPARE(otherActivations, 2);
        window.activateWindow();
        QTRY_COMPARE(activations, 3);
    }

    void dateAndDirectory()
    {
        // Day and month padded to two digits, the year to four, whatever the system's settings.
        toolkit::Clock::setFixedToday(QDate(987, 3, 7));
        QCOMPARE(toolkit::Clock::todayText(), QStringLiteral("07.03.0987"));
        toolkit::Clock::setFixedToday(std::nullopt);
        QCOMPARE(toolkit::Clock::today(), QDate::currentDate());
        // The program's folder is the executable's, without a trailing separator.
        QCOMPARE(toolkit::ProgramDirectory::path(), QCoreApplication::applicationDirPath());
    }
};

QTEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"

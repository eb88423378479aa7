#include "MessageBox.h"

#include "Activation.h"

#include "MessageText.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace toolkit {

namespace {

MessageBox::Sink &sink()
{
    static MessageBox::Sink s;
    return s;
}

// Room a window manager's title bar needs besides the title: the window icon and the buttons.
constexpr int titleBarExtra = 120;

// A message box that keeps the program's lines: Qt's box wraps a prompt wider than 500 pixels
// and sizes itself to the prompt alone, so a window manager cuts a short box's title off. Qt
// sizes the box anew whenever its layout asks for it; the box is sized again after that.
class PromptBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent *event) override
    {
        const bool handled = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest)
            fitPrompt();
        return handled;
    }
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        fitPrompt();
    }

private:
    void fitPrompt()
    {
        auto *label = findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        if (!label || !layout())
            return;
        label->setWordWrap(false);
        layout()->activate();
        QFont titleFont = font();
        titleFont.setBold(true);
        const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + titleBarExtra;
        int width = qMax(layout()->totalMinimumSize().width(), titleWidth);
        // Only a line wider than the screen is broken, such as one naming a file deep in folders.
        const QScreen *screen = this->screen();
        if (screen && width > screen->availableGeometry().width()) {
            width = screen->availableGeometry().width();
            label->setWordWrap(true);
        }
        layout()->activate();
        const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                         : layout()->totalMinimumSize().height();
        setFixedSize(width, height);
        // Changing the label asked for another layout pass, which would size the box Qt's way again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

} // namespace

QString MessageBox::programTitle()
{
    return QStringLiteral("Tankverzehr");
}

void MessageBox::setSink(Sink s)
{
    sink() = std::move(s);
}

void MessageBox::show(const QString &prompt, const QString &title, Icon icon)
{
    const Shown shown{prompt, title.isEmpty() ? programTitle() : title, icon};
    QWidget *beneath = QApplication::activeWindow();
    Activation::messageBoxOpening(beneath);
    if (sink()) {
        sink()(shown);
    } else {
        PromptBox box(beneath);
        box.setWindowTitle(shown.title);
        box.setText(core::MessageText::lines(prompt).join(QLatin1Char('\n')));
        box.setTextFormat(Qt::PlainText);
        box.setIcon(icon == Icon::Information ? QMessageBox::Information : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    Activation::messageBoxClosed();
}

} // namespace toolkit

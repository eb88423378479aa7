#include "MessageBox.h"

#include "Activation.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace toolkit {

namespace {
MessageBox::Sink &sink()
{
    static MessageBox::Sink s;
    return s;
}
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
    if (sink()) {
        sink()(shown);
        return;
    }

    QWidget *beneath = QApplication::activeWindow();
    QMessageBox box(beneath);
    box.setWindowTitle(shown.title);
    // A two-line prompt is written with CR LF; the dialog wants a plain line feed.
    box.setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(icon == Icon::Information ? QMessageBox::Information : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    Activation::messageBoxOpening(beneath);
    box.exec();
}

} // namespace toolkit

#include "Activation.h"

#include <QEvent>
#include <QWidget>

namespace toolkit {

namespace {
// The window a message box was shown over. Its next activation is the window system giving the
// focus back after the box, not the user coming back to it. Any activation clears the mark, so a
// window that hid itself after its box does not lose a later, real activation.
QPointer<QWidget> &returningFromBox()
{
    static QPointer<QWidget> w;
    return w;
}
} // namespace

Activation::Activation(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void Activation::messageBoxOpening(QWidget *beneath)
{
    returningFromBox() = beneath ? beneath->window() : nullptr;
}

bool Activation::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowActivate) {
        const bool backFromBox = returningFromBox() == m_window;
        returningFromBox() = nullptr;
        if (!backFromBox)
            emit activated();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

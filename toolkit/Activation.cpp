#include "Activation.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace toolkit {

namespace {

// How long after a box closes the window system may still move the activation about: Qt hands
// it back to the window beneath, a window manager picks a window of its own, and our request for
// the window beneath arrives last. Every activation meanwhile belongs to the box closing.
constexpr int settleMs = 500;

// The window a message box was shown over, from the box's opening until the activation has
// settled on it again.
struct Return {
    QPointer<QWidget> window;
    bool closed = false; // while the box is open, Qt keeps the other windows from the user
    int generation = 0;  // tells the timer of an earlier box from the one of the current box
};

Return &pendingReturn()
{
    static Return r;
    return r;
}

void endReturn()
{
    pendingReturn().window = nullptr;
}

void activate(QWidget *window)
{
    window->raise();
    window->activateWindow();
}

} // namespace

Activation::Activation(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void Activation::messageBoxOpening(QWidget *beneath)
{
    pendingReturn().window = beneath ? beneath->window() : nullptr;
    pendingReturn().closed = false;
    ++pendingReturn().generation;
}

void Activation::messageBoxClosed()
{
    QWidget *window = pendingReturn().window;
    if (!window)
        return;
    // Still the active window: the activation never left it.
    if (!window->isVisible() || QApplication::activeWindow() == window) {
        endReturn();
        return;
    }
    pendingReturn().closed = true;
    activate(window);
    const int generation = pendingReturn().generation;
    QTimer::singleShot(settleMs, window, [generation] {
        if (pendingReturn().generation == generation)
            endReturn();
    });
}

bool Activation::isSettling()
{
    return pendingReturn().window != nullptr;
}

bool Activation::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return QObject::eventFilter(watched, event);
    QWidget *returningTo = pendingReturn().window;
    if (event->type() == QEvent::WindowActivate) {
        if (!returningTo)
            emit activated();
        else if (pendingReturn().closed && returningTo != m_window && returningTo->isVisible())
            activate(returningTo); // the window manager chose another window: the keys go back
    } else if (event->type() == QEvent::Hide && returningTo == m_window) {
        // The handler hid the window after its box; whatever becomes active next is a real activation.
        endReturn();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

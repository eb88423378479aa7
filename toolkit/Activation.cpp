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
// the window beneath arrives last. Every activation meanwhile belongs to the box closing, unless
// the user has pressed a key or a mouse button since.
constexpr int settleMs = 500;

// The window the outermost open message box was shown over, from the box's opening until the
// activation has settled on that window again.
struct Return {
    QPointer<QWidget> window;
    int openBoxes = 0;  // a handler may run, and show a box, while another box is open
    int generation = 0; // tells the timer of an earlier return from the one of the current return
};

Return &pendingReturn()
{
    static Return r;
    return r;
}

// Once the user presses a key or a mouse button, the user decides which window is active.
class UserTakesOver : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

UserTakesOver &userTakesOver()
{
    static UserTakesOver watcher;
    return watcher;
}

void endReturn()
{
    pendingReturn().window = nullptr;
    QCoreApplication::instance()->removeEventFilter(&userTakesOver());
}

bool UserTakesOver::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
        type == QEvent::NonClientAreaMouseButtonPress)
        endReturn();
    return QObject::eventFilter(watched, event);
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
    Return &pending = pendingReturn();
    if (pending.openBoxes++ > 0)
        return; // the outer box's window is the one to return to
    QCoreApplication::instance()->removeEventFilter(&userTakesOver());
    pending.window = beneath ? beneath->window() : nullptr;
    ++pending.generation;
}

void Activation::messageBoxClosed()
{
    Return &pending = pendingReturn();
    if (--pending.openBoxes > 0)
        return; // back to the outer box, which Qt keeps active
    QWidget *window = pending.window;
    if (!window)
        return;
    // Still the active window: the activation never left it.
    if (!window->isVisible() || QApplication::activeWindow() == window) {
        endReturn();
        return;
    }
    QCoreApplication::instance()->installEventFilter(&userTakesOver());
    activate(window);
    const int generation = pending.generation;
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
    const Return &pending = pendingReturn();
    if (event->type() == QEvent::WindowActivate) {
        if (!pending.window)
            emit activated();
        else if (pending.openBoxes == 0 && pending.window != m_window && pending.window->isVisible())
            activate(pending.window); // the window manager chose another window: the keys go back
    } else if (event->type() == QEvent::Hide && pending.window == m_window) {
        // The handler hid the window after its box; whatever becomes active next is a real activation.
        endReturn();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

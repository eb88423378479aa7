// The activation event of a program window: each time the window becomes the program's
// active window, but not while a message box of the program closes. The overview and the
// editor re-read the log on activation; a re-read after a message box would undo what the
// handler that showed the box had just done, and a failing re-read would show its message
// again forever.
//
// When a box closes, the window system chooses the next active window: with no window manager
// Qt hands the focus back to the window beneath the box, but a window manager may pick another
// window of the program (openbox passes over tool windows and picks the main window). So the
// window beneath is made the active window again here, and every activation until it is active
// again belongs to the box closing, not to the user.
#pragma once

#include <QObject>

class QWidget;

namespace toolkit {

class Activation : public QObject {
    Q_OBJECT
public:
    // Watches `window`; the filter is owned by the window.
    explicit Activation(QWidget *window);

    // MessageBox calls these around every box it shows over `beneath` (may be null).
    static void messageBoxOpening(QWidget *beneath);
    static void messageBoxClosed();

    // True from a box's opening until the activation has settled after it closed.
    static bool isSettling();

signals:
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window = nullptr;
};

} // namespace toolkit

// The activation event of a program window: each time the window becomes the program's
// active window, but not when one of the program's message boxes closes and the window
// system hands the focus back to the window beneath it. The overview and the editor re-read
// the log on activation; a re-read after a message box would undo what the handler that
// showed the box had just done, and a failing re-read would show its message again forever.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace toolkit {

class Activation : public QObject {
    Q_OBJECT
public:
    // Watches `window`; the filter is owned by the window.
    explicit Activation(QWidget *window);

    // MessageBox calls this right before it shows a box over `beneath` (may be null).
    static void messageBoxOpening(QWidget *beneath);

signals:
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window = nullptr;
};

} // namespace toolkit

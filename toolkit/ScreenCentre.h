// Centres a window on the screen by its outer frame when it is first shown. The frame's size
// is known only once a window manager has framed the window, after it is shown; until then
// the window is centred by its client area and moved again when its frame appears.
#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace toolkit {

class ScreenCentre : public QObject {
    Q_OBJECT
public:
    // Watches `window`; the filter is owned by the window.
    static void whenShown(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ScreenCentre(QWidget *window);
    void centre();

    QWidget *m_window = nullptr;
    bool m_shown = false;
    QSize m_centredFrame;  // the frame size the window was last centred with
    bool m_framed = false; // centred with the frame of a window manager: done for good
};

} // namespace toolkit

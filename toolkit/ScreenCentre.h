// Centres a window on the screen by its outer frame when it is first shown. The frame's size
// is known only once a window manager has framed the window, a moment after it is shown, and
// no event of Qt's tells when (Qt itself may go on taking the frame for none); so the window is
// centred by its client area at first, and the window manager's frame extents are looked at for
// a short while after, to centre the window again once they have come.
#pragma once

#include <QMargins>
#include <QObject>
#include <QTimer>

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
    void lookAtFrame();
    QMargins frameExtents() const;

    QWidget *m_window = nullptr;
    bool m_shown = false;
    QMargins m_centredWith; // the frame extents the window was last centred with
    QTimer m_frameWatch;
    int m_looksLeft = 0;
};

} // namespace toolkit

#include "ScreenCentre.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace toolkit {

ScreenCentre::ScreenCentre(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void ScreenCentre::whenShown(QWidget *window)
{
    new ScreenCentre(window);
}

void ScreenCentre::centre()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    m_centredFrame = m_window->frameGeometry().size();
    m_framed = m_centredFrame != m_window->size();
    // The position of a window is that of its frame.
    m_window->move(available.x() + (available.width() - m_centredFrame.width()) / 2,
                   available.y() + (available.height() - m_centredFrame.height()) / 2);
}

bool ScreenCentre::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
            if (!m_shown) {
                m_shown = true;
                centre();
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
            // The window manager has put its frame around the window: it is known by the first
            // paint at the latest.
            if (m_shown && !m_framed && m_window->frameGeometry().size() != m_centredFrame)
                centre();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

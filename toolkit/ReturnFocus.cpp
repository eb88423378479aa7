#include "ReturnFocus.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace toolkit {

ReturnFocus::ReturnFocus(QWidget *shown, QWidget *opener) : QObject(shown), m_shown(shown), m_opener(opener)
{
    shown->installEventFilter(this);
}

void ReturnFocus::setOpener(QWidget *opener)
{
    m_opener = opener;
}

bool ReturnFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_shown && event->type() == QEvent::Hide && !event->spontaneous()) {
        QWidget *active = QApplication::activeWindow();
        if (m_opener && m_opener->isVisible() && (!active || active == m_shown)) {
            m_opener->raise();
            m_opener->activateWindow();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

#include "StrayAccessKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace toolkit {

void StrayAccessKeys::ignoreIn(QWidget *window)
{
    auto *filter = new StrayAccessKeys(window);
    for (QWidget *control : window->findChildren<QWidget *>())
        control->installEventFilter(filter);
}

bool StrayAccessKeys::eventFilter(QObject *watched, QEvent *event)
{
    // An access key that matches a control is taken as a shortcut before the key press is
    // delivered; a press that still arrives with Alt matched nothing.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        const bool alt = modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier);
        if (alt && !key->text().isEmpty() && key->text().front().isPrint())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

// One instance of a program window. Showing it creates the window when it is not loaded
// (the first time, or after the user closed it from its title bar, which unloads it), shows
// it without blocking the caller and makes it the active window, restored if it was minimised
// and raised if it lay behind another window. When it hides itself, the
// window that showed it (the opener, if one is given) becomes active again.
#pragma once

#include "ReturnFocus.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace toolkit {

template <typename Window> class SingleWindow {
public:
    SingleWindow() = default;
    SingleWindow(const SingleWindow &) = delete;
    SingleWindow &operator=(const SingleWindow &) = delete;
    ~SingleWindow() { delete m_window.data(); }

    // `owner`, when given, is the window this one stays above: the window manager keeps it over
    // its owner, minimises it with it and brings it back with it. Takes effect when the window
    // is shown from hidden.
    template <typename Make> Window *show(Make make, QWidget *opener = nullptr, QWidget *owner = nullptr)
    {
        if (!m_window) {
            m_window = make();
            m_window->setAttribute(Qt::WA_DeleteOnClose);
            m_returnFocus = new ReturnFocus(m_window, opener);
        }
        m_returnFocus->setOpener(opener);
        // A window manager may let the user minimise the window although it asks for no such
        // button; with no task-bar entry this is the only way back to it.
        if (m_window->isMinimized())
            m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
        if (owner && !m_window->isVisible()) {
            m_window->winId();
            owner->winId();
            m_window->windowHandle()->setTransientParent(owner->windowHandle());
        }
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
        return m_window;
    }

    // Null while the window is not loaded.
    Window *get() const { return m_window; }

private:
    QPointer<Window> m_window;
    ReturnFocus *m_returnFocus = nullptr; // owned by the window
};

} // namespace toolkit

#include "ScreenCentre.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <optional>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif
#ifdef Q_OS_WIN
#include "WindowsFrame.h"
#endif

namespace toolkit {

namespace {

// A window manager frames a new window within a few milliseconds, or within a second when the
// machine is busy; the frame is looked at this often and this many times.
constexpr int lookIntervalMs = 20;
constexpr int looks = 50;

#if QT_CONFIG(xcb)
// The frame extents an X window manager has put on the window (_NET_FRAME_EXTENTS: left, right,
// top, bottom); nothing while it has not framed the window, or when the program runs elsewhere.
std::optional<QMargins> x11FrameExtents(const QWidget *window)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window->windowHandle())
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    if (!connection) // Qt's offscreen platform answers as X11 without a connection
        return std::nullopt;
    static const char name[] = "_NET_FRAME_EXTENTS";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return std::nullopt;
    xcb_get_property_reply_t *property =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, static_cast<xcb_window_t>(window->winId()),
                                                atom->atom, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr);
    free(atom);
    std::optional<QMargins> extents;
    if (property && property->format == 32 && xcb_get_property_value_length(property) == 16) {
        const auto *values = static_cast<const quint32 *>(xcb_get_property_value(property));
        extents = QMargins(int(values[0]), int(values[2]), int(values[1]), int(values[3]));
    }
    free(property);
    return extents;
}
#endif

} // namespace

ScreenCentre::ScreenCentre(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    m_frameWatch.setInterval(lookIntervalMs);
    connect(&m_frameWatch, &QTimer::timeout, this, &ScreenCentre::lookAtFrame);
}

void ScreenCentre::whenShown(QWidget *window)
{
    new ScreenCentre(window);
}

QMargins ScreenCentre::frameExtents() const
{
#if QT_CONFIG(xcb)
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        return x11FrameExtents(m_window).value_or(QMargins());
#endif
#ifdef Q_OS_WIN
    if (const std::optional<QMargins> extents = WindowsFrame::extents(m_window))
        return *extents;
#endif
    const QRect frame = m_window->frameGeometry();
    const QRect client = m_window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void ScreenCentre::centre()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    m_centredWith = frameExtents();
    const QSize frame = m_window->size().grownBy(m_centredWith);
    const QPoint frameTopLeft(available.x() + (available.width() - frame.width()) / 2,
                              available.y() + (available.height() - frame.height()) / 2);
    // The client area goes where the frame leaves room for it.
    m_window->setGeometry(
        QRect(frameTopLeft + QPoint(m_centredWith.left(), m_centredWith.top()), m_window->size()));
}

void ScreenCentre::lookAtFrame()
{
    if (frameExtents() != m_centredWith)
        centre();
    // Framed, or given up on a frame: with no window manager there is none.
    if (!m_centredWith.isNull() || --m_looksLeft <= 0)
        m_frameWatch.stop();
}

bool ScreenCentre::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Show && !m_shown) {
        m_shown = true;
        centre();
        m_looksLeft = looks;
        m_frameWatch.start();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit

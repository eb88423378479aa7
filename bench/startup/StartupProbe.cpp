#include "StartupProbe.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T *raw)
{
    return Reply<T>(raw, &std::free);
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto answer = reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return answer ? answer->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name)
{
    const auto answer = reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!answer || answer->format != 8)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(answer.get())),
                       static_cast<size_t>(xcb_get_property_value_length(answer.get())));
}

// The title as a window manager would show it: the UTF-8 name when set, the old name otherwise.
std::string title(xcb_connection_t *connection, xcb_window_t window)
{
    const std::string modern = property(connection, window, atom(connection, "_NET_WM_NAME"));
    return modern.empty() ? property(connection, window, XCB_ATOM_WM_NAME) : modern;
}

// Whether the window's contents hold more than one pixel value. The server clears a newly mapped
// window to a single background colour; only the program's own drawing brings a second one.
bool showsDrawing(xcb_connection_t *connection, xcb_window_t window)
{
    const auto geometry =
        reply(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return false;
    const auto image = reply(xcb_get_image_reply(connection,
                                                 xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                                               0, 0, geometry->width, geometry->height, ~0u),
                                                 nullptr));
    if (!image)
        return false;
    const uint8_t *data = xcb_get_image_data(image.get());
    const int length = xcb_get_image_data_length(image.get());
    const int step = length % 4 == 0 ? 4 : 1;
    for (int i = step; i + step <= length; i += step) {
        if (std::memcmp(data, data + i, static_cast<size_t>(step)) != 0)
            return true;
    }
    return false;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

StartupProbe::Result StartupProbe::run(const std::vector<std::string> &command, const std::string &folder,
                                       std::chrono::milliseconds timeout)
{
    Result result;
    if (command.empty()) {
        result.error = "no program given";
        return result;
    }
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> owner(xcb_connect(nullptr, nullptr),
                                                                       &xcb_disconnect);
    xcb_connection_t *connection = owner.get();
    if (xcb_connection_has_error(connection)) {
        result.error = "cannot reach the X server (DISPLAY)";
        return result;
    }
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        result.error = "the X server has no Damage extension";
        return result;
    }
    reply(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));

    // Watch the creation and mapping of every top-level window, from before the program starts.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    reply(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    std::vector<char *> arguments;
    for (const std::string &argument : command)
        arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        result.error = "cannot start a process";
        return result;
    }
    if (child == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }

    xcb_window_t target = XCB_WINDOW_NONE;
    bool painted = false;
    bool ended = false;
    int status = 0;
    const auto deadline = start + timeout;
    while (!painted && !ended && std::chrono::steady_clock::now() < deadline) {
        while (!painted) {
            const auto event = reply(xcb_poll_for_event(connection));
            if (!event)
                break;
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto *created = reinterpret_cast<const xcb_create_notify_event_t *>(event.get());
                if (created->parent == root)
                    xcb_damage_create(connection, xcb_generate_id(connection), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            } else if (type == XCB_MAP_NOTIFY && target == XCB_WINDOW_NONE) {
                const auto *mapped = reinterpret_cast<const xcb_map_notify_event_t *>(event.get());
                const double at = millisecondsSince(start);
                if (title(connection, mapped->window) == m_title) {
                    target = mapped->window;
                    result.shownMs = at;
                }
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY && target != XCB_WINDOW_NONE) {
                const auto *drawn = reinterpret_cast<const xcb_damage_notify_event_t *>(event.get());
                const double at = millisecondsSince(start);
                if (drawn->drawable == target && showsDrawing(connection, target)) {
                    result.paintedMs = at;
                    painted = true;
                }
            }
        }
        if (painted)
            break;
        if (waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            break;
        }
        pollfd socket{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&socket, 1, 20);
    }

    rusage usage{};
    if (!ended) {
        kill(child, painted ? SIGTERM : SIGKILL);
        wait4(child, &status, 0, &usage);
    }
    if (painted) {
        result.ok = true;
        result.maxRssKib = usage.ru_maxrss;
    } else if (ended) {
        result.error = "the program ended before its window was painted";
    } else {
        result.error = target == XCB_WINDOW_NONE ? "no window with that title was shown in time"
                                                 : "the window was shown but not painted in time";
    }
    return result;
}

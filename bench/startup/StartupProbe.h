// Starts a program under an X server and times its start-up from outside, without any help
// from the program: "shown" is the MapNotify of its top-level window with the given title,
// "painted" the first Damage report after that which leaves the window showing more than one
// colour (the server's own background fill is one colour; a drawn window has text and frames).
// The peak memory is the child's maximum resident set size, taken when it is reaped.
#pragma once

#include <chrono>
#include <string>
#include <vector>

struct xcb_connection_t;

class StartupProbe {
public:
    struct Result {
        bool ok = false;
        std::string error;
        double shownMs = 0;
        double paintedMs = 0;
        long maxRssKib = 0;
    };

    explicit StartupProbe(std::string title) : m_title(std::move(title)) {}

    // Runs `command` (program and arguments) in `folder`, waits at most `timeout` for the painted
    // window, then ends the program and reaps it.
    Result run(const std::vector<std::string> &command, const std::string &folder,
               std::chrono::milliseconds timeout);

private:
    std::string m_title;
};

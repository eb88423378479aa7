// Runs the body of an event handler. When a platform operation in it fails (a Failure is
// thrown), the remaining steps of that handler do not run, the user gets one message box
// with the program's title saying what failed, and the program carries on.
#pragma once

#include <functional>

namespace toolkit {

class HandlerGuard {
public:
    // Returns true when the body ran to its end.
    static bool run(const std::function<void()> &body);
};

} // namespace toolkit

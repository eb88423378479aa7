// The named steps of every write to the log database, with a hook that tests set to make one
// step fail, or to act on the file at that moment as another program would (lock it, delete
// the new row). Without a hook the steps cost nothing.
#pragma once

#include <functional>

namespace logstore {

class WriteSteps {
public:
    enum class Step {
        Begin,       // before the write transaction begins
        Statement,   // the row's statement is about to run: failing here is the statement refused
        Commit,      // the statement ran; right before the commit
        AfterCommit, // the row is stored
    };
    // Before the commit a core::Failure thrown by the hook fails that step as the engine
    // would. After the commit nothing may fail the write any more: the hook must not throw there.
    using Hook = std::function<void(Step)>;

    static void setHook(Hook hook);
    static void reach(Step step);
};

} // namespace logstore

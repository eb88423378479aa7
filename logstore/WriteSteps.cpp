#include "WriteSteps.h"

namespace logstore {

namespace {
WriteSteps::Hook &hook()
{
    static WriteSteps::Hook installed;
    return installed;
}
} // namespace

void WriteSteps::setHook(Hook hook)
{
    logstore::hook() = std::move(hook);
}

void WriteSteps::reach(Step step)
{
    if (const Hook &installed = hook())
        installed(step);
}

} // namespace logstore

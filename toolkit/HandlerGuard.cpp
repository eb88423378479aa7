#include "HandlerGuard.h"

#include "Failure.h"
#include "MessageBox.h"

namespace toolkit {

bool HandlerGuard::run(const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const core::Failure &failure) {
        MessageBox::show(failure.message(), MessageBox::programTitle(), MessageBox::Icon::Information);
        return false;
    }
}

} // namespace toolkit

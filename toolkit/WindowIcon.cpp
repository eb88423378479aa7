#include "WindowIcon.h"

static void initToolkitResources()
{
    Q_INIT_RESOURCE(toolkit);
}

namespace toolkit {

QIcon WindowIcon::icon()
{
    static const bool loaded = [] {
        initToolkitResources();
        return true;
    }();
    Q_UNUSED(loaded);
    // A PNG: it loads in a fraction of the time an XPM picture takes to be parsed.
    return QIcon(QStringLiteral(":/toolkit/tankverzehr.png"));
}

} // namespace toolkit

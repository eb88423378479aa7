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
    return QIcon(QStringLiteral(":/toolkit/tankverzehr.xpm"));
}

} // namespace toolkit

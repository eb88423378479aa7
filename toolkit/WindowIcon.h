// The program's window icon, a 32 x 32 picture in 16 colours shared by the main window and
// the overview.
#pragma once

#include <QIcon>

namespace toolkit {

class WindowIcon {
public:
    static QIcon icon();
};

} // namespace toolkit

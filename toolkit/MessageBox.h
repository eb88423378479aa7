// Modal message boxes with one OK button. Every box of the program goes through here, so
// that tests can record the boxes instead of showing them, and so that the window beneath a box
// is the active window again when it closes, without that counting as its activation (see
// Activation). Each line of a prompt stays one line of the box, and the box is wide enough for
// its title.
#pragma once

#include <QString>
#include <functional>

namespace toolkit {

class MessageBox {
public:
    enum class Icon { None, Information };

    struct Shown {
        QString prompt; // exactly as the program wrote it, CR LF included
        QString title;
        Icon icon = Icon::None;
    };
    using Sink = std::function<void(const Shown &)>;

    static QString programTitle();

    // Shows the box and waits until the user closes it. An empty title means the program's title.
    static void show(const QString &prompt, const QString &title = {}, Icon icon = Icon::None);

    // Tests hand in a sink that receives each box instead of a dialog; an empty sink restores the
    // dialog. The window beneath gets its activation back after a sink as after a dialog, so a
    // sink may stand in for a window manager that activates another window meanwhile.
    static void setSink(Sink sink);
};

} // namespace toolkit

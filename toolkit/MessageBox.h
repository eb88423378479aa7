// Modal message boxes with one OK button. Every box of the program goes through here, so
// that tests can record the boxes instead of showing them, and so that closing a box is not
// taken for an activation of the window beneath it (see Activation).
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

    // Tests hand in a sink that receives each box instead of a dialog; an empty sink restores the dialog.
    static void setSink(Sink sink);
};

} // namespace toolkit

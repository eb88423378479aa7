// An Alt+letter that no control of a window carries as its access key does nothing. Without
// this a text box takes the letter as typed: after a calculation, when the button reads
// "&Nochmal", Alt+B turned "600" into "600b". Characters typed with AltGr (or Ctrl+Alt, as
// Windows reports AltGr) are no access keys and still reach the text boxes.
#pragma once

#include <QObject>

class QWidget;

namespace toolkit {

class StrayAccessKeys : public QObject {
    Q_OBJECT
public:
    // Watches the key presses of every control of `window`, which must have its controls by
    // then; the filter is owned by the window.
    static void ignoreIn(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit StrayAccessKeys(QObject *parent) : QObject(parent) {}
};

} // namespace toolkit

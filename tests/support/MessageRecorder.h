// Records every message box the program shows while it lives, instead of showing it.
#pragma once

#include "MessageBox.h"

#include <QList>

class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    const QList<toolkit::MessageBox::Shown> &shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    QList<toolkit::MessageBox::Shown> m_shown;
};

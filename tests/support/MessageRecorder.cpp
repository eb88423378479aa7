#include "MessageRecorder.h"

MessageRecorder::MessageRecorder()
{
    toolkit::MessageBox::setSink([this](const toolkit::MessageBox::Shown &box) { m_shown.append(box); });
}

MessageRecorder::~MessageRecorder()
{
    toolkit::MessageBox::setSink({});
}

const QList<toolkit::MessageBox::Shown> &MessageRecorder::shown() const
{
    return m_shown;
}

void MessageRecorder::clear()
{
    m_shown.clear();
}

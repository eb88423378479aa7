#include "MessageRecorder.h"

MessageRecorder::MessageRecorder()
{
    toolkit::MessageBox::setSink([this](const toolkit::MessageBox::Shown &box) { m_shown.append(box); });
}

MessageRecorder::~MessageRecorder()
{
    toolkit::MessageBox::setSink({});
}

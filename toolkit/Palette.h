// Text and background colours of a control, given as RGB.
#pragma once

#include <QColor>

class QWidget;

namespace toolkit {

class Palette {
public:
    static void setTextColour(QWidget *control, const QColor &colour);
    static void setBackground(QWidget *control, const QColor &colour);
};

} // namespace toolkit

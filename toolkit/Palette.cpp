#include "Palette.h"

#include <QPalette>
#include <QWidget>

namespace toolkit {

void Palette::setTextColour(QWidget *control, const QColor &colour)
{
    QPalette p = control->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    control->setPalette(p);
}

void Palette::setBackground(QWidget *control, const QColor &colour)
{
    QPalette p = control->palette();
    p.setColor(QPalette::Window, colour);
    control->setPalette(p);
    control->setAutoFillBackground(true);
}

} // namespace toolkit

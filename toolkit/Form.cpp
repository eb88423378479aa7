#include "Form.h"

#include "Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace toolkit {

void Form::fixClientSize(int width, int height) const
{
    m_window->setFixedSize(Twips::toPixels(width), Twips::toPixels(height));
}

void Form::place(QWidget *control, const char *name, const QRect &twips) const
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(Twips::rect(twips));
}

QLabel *Form::label(const char *name, const QString &caption, const QRect &twips, const QFont &font) const
{
    auto *label = new QLabel(caption, m_window);
    place(label, name, twips);
    label->setFont(font);
    return label;
}

QLineEdit *Form::textBox(const char *name, const QRect &twips, const QFont &font) const
{
    auto *box = new QLineEdit(m_window);
    place(box, name, twips);
    box->setFont(font);
    return box;
}

QPushButton *Form::button(const char *name, const QString &caption, const QRect &twips,
                          const QFont &font) const
{
    auto *button = new QPushButton(caption, m_window);
    place(button, name, twips);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

QComboBox *Form::list(const char *name, const QRect &twips) const
{
    auto *list = new QComboBox(m_window);
    place(list, name, twips);
    list->setEditable(false);
    return list;
}

} // namespace toolkit

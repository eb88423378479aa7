// Lays out a window's controls as the windows are designed: each control at its position and
// size in twips, with its font. The one place where the program's controls are made.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace toolkit {

class Form {
public:
    explicit Form(QWidget *window) : m_window(window) {}

    // A fixed client area that the user cannot resize.
    void fixClientSize(int width, int height) const;

    // `name` is the control's object name; positions and sizes are (left, top, width, height).
    QLabel *label(const char *name, const QString &caption, const QRect &twips, const QFont &font) const;
    QLineEdit *textBox(const char *name, const QRect &twips, const QFont &font) const;
    // A button that takes the Return key only when it has the focus, as the windows' buttons do.
    QPushButton *button(const char *name, const QString &caption, const QRect &twips,
                        const QFont &font) const;
    // A drop-down list without free typing, in the system's font.
    QComboBox *list(const char *name, const QRect &twips) const;

private:
    void place(QWidget *control, const char *name, const QRect &twips) const;

    QWidget *m_window = nullptr;
};

} // namespace toolkit

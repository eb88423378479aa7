// What the window tests do as a user does: make a window active, find its controls by their
// names, read their texts, click a grid row's record selector.
#pragma once

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace user {

inline bool activate(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

template <typename T = QLineEdit> T *control(const QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
}

// The texts of the window's labels or text boxes of these names.
inline QStringList texts(const QWidget *window, std::initializer_list<const char *> names)
{
    QStringList result;
    for (const char *name : names) {
        const auto *label = control<QLabel>(window, name);
        result << (label ? label->text() : control(window, name)->text());
    }
    return result;
}

inline void clickRecordSelector(QTableView *grid, int row)
{
    QHeaderView *selectors = grid->verticalHeader();
    QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                      QPoint(selectors->width() / 2,
                             selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2));
}

} // namespace user

// Opens the overview window on a log of the test's own and finds its controls.
#pragma once

#include "DataControl.h"
#include "LogGrid.h"
#include "Uebersicht.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

class OverviewFixture {
public:
    QString fahrzeug = QStringLiteral("Auto");

    // Creates the window and makes it the active window, which runs its activation steps.
    bool open()
    {
        window = std::make_unique<Uebersicht>([this] { return fahrzeug; });
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    // The user goes to another window of the program and comes back.
    bool reactivate()
    {
        if (!m_other) {
            m_other = std::make_unique<QWidget>();
            m_other->resize(100, 100);
        }
        m_other->show();
        m_other->activateWindow();
        if (!QTest::qWaitForWindowActive(m_other.get()))
            return false;
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    QString label(const char *name) const { return window->findChild<QLabel *>(QLatin1String(name))->text(); }
    LogGrid *grid() const { return window->findChild<LogGrid *>(QStringLiteral("DBGrid1")); }
    QPushButton *command1() const { return window->findChild<QPushButton *>(QStringLiteral("Command1")); }
    logstore::DataControl *data1() const
    {
        return window->findChild<logstore::DataControl *>(QStringLiteral("Data1"));
    }

    int rowCount() const { return grid()->model() ? grid()->model()->rowCount() : 0; }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }

    void clickRecordSelector(int row) const
    {
        QHeaderView *selectors = grid()->verticalHeader();
        const int y = selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2;
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {}, QPoint(selectors->width() / 2, y));
    }

    void clickCell(int row, int column) const
    {
        const QModelIndex index = grid()->model()->index(row, column);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(index).center());
    }

    // The window goes first: its data control holds the test's log file open.
    std::unique_ptr<Uebersicht> window;

private:
    std::unique_ptr<QWidget> m_other;
};

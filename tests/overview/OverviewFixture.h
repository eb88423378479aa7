// A log of the test's own and the overview window opened on it, with its controls found and
// the user's actions on its grid.
#pragma once

#include "DataControl.h"
#include "LogGrid.h"
#include "TestLog.h"
#include "Uebersicht.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <memory>

using Entries = QList<QStringList>;

class OverviewFixture {
public:
    TestLog log;
    QString fahrzeug = QStringLiteral("Auto");
    // Declared after the log: the window's data control holds the log file open.
    std::unique_ptr<Uebersicht> window;

    explicit OverviewFixture(const Entries &carLog = {})
    {
        for (const QStringList &entry : carLog)
            log.append(QStringLiteral("Auto"), entry);
    }

    // Creates the window and makes it the active window, which runs its activation steps; waits
    // for that unless a message box is expected to take the focus on the way.
    bool open(bool wait = true)
    {
        window = std::make_unique<Uebersicht>([this] { return fahrzeug; });
        window->show();
        window->activateWindow();
        return !wait || QTest::qWaitForWindowActive(window.get());
    }
    static bool activate(QWidget *w)
    {
        w->show();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w);
    }

    // The user goes to another window of the program (and comes back).
    bool leave() { return activate(&m_other); }
    bool reactivate() { return leave() && activate(window.get()); }

    QStringList labels(const QStringList &names) const
    {
        QStringList texts;
        for (const QString &name : names)
            texts << window->findChild<QLabel *>(name)->text();
        return texts;
    }
    LogGrid *grid() const { return window->findChild<LogGrid *>(QStringLiteral("DBGrid1")); }
    QPushButton *command1() const { return window->findChild<QPushButton *>(QStringLiteral("Command1")); }
    int position() const { return window->findChild<logstore::DataControl *>()->absolutePosition(); }
    int rowCount() const { return grid()->model() ? grid()->model()->rowCount() : 0; }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }

    static void clickRecordSelector(QWidget *window, int row)
    {
        QHeaderView *selectors = window->findChild<LogGrid *>()->verticalHeader();
        const int y = selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2;
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {}, QPoint(selectors->width() / 2, y));
    }
    void clickRecordSelector(int row) const { clickRecordSelector(window.get(), row); }
    void clickCell(int row, int column) const
    {
        const QModelIndex index = grid()->model()->index(row, column);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(index).center());
    }

    // Changes the log file behind the program's back.
    bool alterLog(const QString &statement)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("alter"));
        db.setDatabaseName(log.path());
        const bool ok = db.open() && QSqlQuery(db).exec(statement);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("alter"));
        return ok;
    }

private:
    QWidget m_other;
};

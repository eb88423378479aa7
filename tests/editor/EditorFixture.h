// One editor window over a fresh log of its own, with every message box recorded and today fixed
// at 15.06.2024, for the editor's window tests.
#pragma once

#include "Bearbeiten1.h"
#include "Clock.h"
#include "MessageRecorder.h"
#include "TestLog.h"

#include <QLineEdit>
#include <QTest>

struct EditorFixture {
    // What fill() writes: Datum, Gefahrene Kilometer, Getankte Liter, Verbrauch auf 100 km in Liter.
    inline static const QList<QStringList> autoRows{
        {"01.01.2024", "500", "40", "8"},      {"15.02.2024", "600", "45", "7,5"},
        {"03.03.2024", "650", "50", "7,6923"}, {"20.04.2024", "3", "40", "1333,33"},
        {"01.05.2024", "180", "6,3", "3,5"},
    };
    inline static const QStringList motorradRow{"05.05.2023", "180", "6,3", "3,5"};

    TestLog log;
    MessageRecorder messages;
    QVariant datensatznummer;
    std::unique_ptr<Bearbeiten1> editor = std::make_unique<Bearbeiten1>([] { return QStringLiteral("Auto"); },
                                                                        [this] { return datensatznummer; });

    EditorFixture() { toolkit::Clock::setFixedToday(QDate(2024, 6, 15)); }
    ~EditorFixture() { toolkit::Clock::setFixedToday(std::nullopt); }

    QLineEdit *text(int n) const { return editor->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(n)); }
    // The four texts in the order the log keeps them.
    QStringList shown() const { return {text(1)->text(), text(4)->text(), text(2)->text(), text(3)->text()}; }

    void fill()
    {
        for (const QStringList &row : autoRows)
            log.append(QStringLiteral("Auto"), row);
        log.append(QStringLiteral("Motorrad"), motorradRow);
    }
    // Shows a window and makes it the active one, which runs the editor's activation.
    static bool activate(QWidget *window)
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
    // Fills the log and activates the editor on the Auto entry at `position`; true once it shows it.
    bool open(int position)
    {
        fill();
        datensatznummer = position;
        return activate(editor.get()) && QTest::qWaitFor([&] { return shown() == autoRows.at(position); });
    }
};

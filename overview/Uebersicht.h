// The overview window: the vehicle in use, its total kilometres and litres, the average
// consumption and a read-only grid of every entry of its log. Each time the window becomes
// the active window it reads the totals and the log again, so it always shows the log as the
// other windows left it. Selecting a row through its record selector enables "Bearbeiten",
// which publishes the row's position for the editor window.
#pragma once

#include <QVariant>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class LogGrid;

namespace logstore {
class DataControl;
}

class Uebersicht : public QWidget {
    Q_OBJECT
public:
    // `fahrzeug` gives the name of the vehicle log in use; it is asked at every activation.
    explicit Uebersicht(std::function<QString()> fahrzeug, QWidget *parent = nullptr);

    // Empty until "Bearbeiten" is first clicked; then the zero-based position of the row that
    // was current at that click.
    QVariant Datensatznummer;

signals:
    // "Bearbeiten" was clicked: the editor window is to show the entry at Datensatznummer.
    void bearbeitenRequested();

private:
    void activationSteps();
    void command1Click();
    void dbGrid1SelChange();

    std::function<QString()> m_fahrzeug;
    logstore::DataControl *m_data1 = nullptr;
    LogGrid *m_dbGrid1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label5 = nullptr;
    QLabel *m_label6 = nullptr;
    QLabel *m_label7 = nullptr;
    QPushButton *m_command1 = nullptr;
};

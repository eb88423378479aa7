// The overview window: the vehicle in use, its total kilometres and litres, the average
// consumption and a read-only grid of every entry of its log. Each time the window becomes the
// active window it reads the totals and the log again, so it always shows the log as the other
// windows left it. Selecting a row (its record selector, or Space) enables "Bearbeiten", which
// publishes the row's position for the editor window.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace logstore {
class DataControl;
}

namespace overview {

class LogGrid;

class OverviewWindow : public QWidget {
    Q_OBJECT
public:
    // `vehicle` gives the name of the vehicle log in use; it is asked at every activation.
    explicit OverviewWindow(std::function<QString()> vehicle, QWidget *parent = nullptr);

    // Nothing until "Bearbeiten" is first clicked; then the zero-based position of the row that
    // was current at that click.
    std::optional<int> chosenEntry() const { return m_chosenEntry; }

signals:
    // "Bearbeiten" was clicked: the editor window is to show the chosen entry.
    void editRequested();

private:
    void createControls();
    void onActivated();
    void onEditClicked();
    void onRowsSelected();

    std::function<QString()> m_vehicle;
    logstore::DataControl *m_log = nullptr;
    LogGrid *m_grid = nullptr;
    QLabel *m_vehicleName = nullptr;
    QLabel *m_totalKilometres = nullptr;
    QLabel *m_totalLitres = nullptr;
    QLabel *m_average = nullptr;
    QPushButton *m_edit = nullptr;
    std::optional<int> m_chosenEntry;
};

} // namespace overview

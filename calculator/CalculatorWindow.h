// The main window: the vehicle choice, the litres and kilometres, the consumption per 100 km and
// the recording of every result in the vehicle's log. It is the program's home: it owns the
// overview and the editor windows, and closing it ends the program.
#pragma once

#include "SingleWindow.h"

#include <QString>
#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace editor {
class EntryEditorWindow;
}
namespace logstore {
class RowAppender;
}
namespace overview {
class OverviewWindow;
}

namespace calculator {

class CalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalculatorWindow(QWidget *parent = nullptr);
    ~CalculatorWindow() override;

    // The vehicle log in use, "Auto" or "Motorrad"; the overview and the editor ask for it.
    QString vehicle() const { return m_vehicle; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void onVehicleChosen();
    void onCalculateClicked();
    void onShowOverviewClicked();
    void onEditRequested();
    void calculate();
    void refuseInput();
    void startAgain();
    // Appends the fill-up just computed, with today's date, to the log of the vehicle in use.
    void record(const QString &consumption);
    static void appendEntry(logstore::RowAppender &log, const QString &date, const QString &litres,
                            const QString &kilometres, const QString &consumption);
    std::optional<int> chosenEntry() const;

    QComboBox *m_vehicles = nullptr;
    QLineEdit *m_litres = nullptr;
    QLineEdit *m_kilometres = nullptr;
    QPushButton *m_calculate = nullptr;
    QLabel *m_result = nullptr;
    QPushButton *m_showOverview = nullptr;

    QString m_vehicle;
    // False until the window first becomes the active window; choosing a vehicle before that
    // leaves the focus where it is.
    bool m_activated = false;
    // The overview and the editor exist at most once each and live until the program ends.
    toolkit::SingleWindow<overview::OverviewWindow> m_overview;
    toolkit::SingleWindow<editor::EntryEditorWindow> m_editor;
    // The entry last chosen in the overview, kept for the editor when the overview has been closed.
    std::optional<int> m_chosenEntry;
};

} // namespace calculator

// The entry editor: shows one entry of the vehicle log that the overview chose, recomputes its
// consumption while litres or kilometres are typed, checks the date and stores or deletes the
// entry. Each activation reads the chosen entry from the log again, unless the boxes hold typing
// not stored yet for that same entry: switching to another window and back keeps what was typed.
#pragma once

#include "LiveConsumption.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;

namespace logstore {
class DataControl;
}

namespace editor {

class FieldBoxes;

class EntryEditorWindow : public QWidget {
    Q_OBJECT
public:
    // `vehicle` names the vehicle log in use, `chosenEntry` the zero-based position of the chosen
    // entry; both are asked again at every activation.
    explicit EntryEditorWindow(std::function<QString()> vehicle,
                               std::function<std::optional<int>()> chosenEntry, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void onActivated();
    void onSaveClicked();
    void onDeleteClicked();
    void onKeyReleased(QLineEdit *typed, QLineEdit *other, core::LiveConsumption::Typed which);
    bool showChosenEntry();
    // True when the boxes show the chosen entry with texts typed since it was read.
    bool typingKept() const;
    QStringList boxTexts() const;
    void putAway();
    QLineEdit *firstEmptyField() const;
    // True when the date is accepted; otherwise the user has been told why, and the date box is
    // emptied and has the focus.
    bool dateAccepted();

    std::function<QString()> m_vehicle;
    std::function<std::optional<int>()> m_chosenEntry;
    logstore::DataControl *m_log = nullptr;
    FieldBoxes *m_boxes = nullptr;
    QLineEdit *m_date = nullptr;
    QLineEdit *m_litres = nullptr;
    QLineEdit *m_consumption = nullptr;
    QLineEdit *m_kilometres = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_delete = nullptr;
    // The box that saw the press of the key now being released; a release whose press went
    // elsewhere (the Enter that closed a message box, the Tab that moved the focus here) was
    // not typed into the box.
    QObject *m_keyPressedIn = nullptr;

    // The entry the boxes were last filled from, and their texts then; nothing while hidden.
    struct ShownEntry {
        QString vehicle;
        int position = -1;
        QStringList texts;
    };
    std::optional<ShownEntry> m_shownEntry;
};

} // namespace editor

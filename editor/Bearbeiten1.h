// The entry editor: shows one entry of the vehicle log that the overview chose, recomputes its
// consumption while litres or kilometres are typed, checks the date and stores or deletes the
// entry. It re-reads the log at every activation, so only checked texts ever reach the log.
#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>

#include "LiveConsumption.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace logstore {
class DataControl;
}

class Bearbeiten1 : public QWidget {
    Q_OBJECT
public:
    // `fahrzeug` names the vehicle log in use, `datensatznummer` the zero-based position of the
    // chosen entry; both are asked again at every activation.
    explicit Bearbeiten1(std::function<QString()> fahrzeug, std::function<QVariant()> datensatznummer,
                         QWidget *parent = nullptr);

    // Set by a refused date during a save; the save puts it back to false at its end.
    bool Datumsfehler = false;
    // The window's free text: today's day, written by every date check.
    QString Tag;

    // Checks the text of Text1. On a refusal: its message, Text1 emptied and focused, Datumsfehler set.
    void Datumsabfrage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void onActivated();
    bool showChosenEntry();
    void onSave();
    void onDelete();
    void onKeyReleased(QLineEdit *typed, QLineEdit *other, LiveConsumption::Typed which);
    QLineEdit *firstEmptyField() const;

    std::function<QString()> m_fahrzeug;
    std::function<QVariant()> m_datensatznummer;
    logstore::DataControl *m_data1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    // The field that saw the press of the key now being released; a release whose press went
    // elsewhere (the Enter that closed a message box, the Tab that moved the focus here) was
    // not typed into the field.
    QObject *m_keyPressedIn = nullptr;
};

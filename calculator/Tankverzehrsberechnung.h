// The main window: the vehicle choice, the litres and kilometres, the consumption per 100 km
// and the recording of every result in the vehicle's log. It is the program's home: it owns
// the overview and the editor windows and closing it ends the program.
#pragma once

#include "SingleWindow.h"

#include <QString>
#include <QVariant>
#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class Uebersicht;
class Bearbeiten1;

namespace logstore {
class Recordset;
}

class Tankverzehrsberechnung : public QWidget {
    Q_OBJECT
public:
    explicit Tankverzehrsberechnung(QWidget *parent = nullptr);
    ~Tankverzehrsberechnung() override;

    // The vehicle log in use, "Auto" or "Motorrad"; read by the overview and the editor.
    QString Fahrzeug;
    // The last consumption: a double, or its cut text when its number text holds a comma.
    QVariant Ergebnis;

    // Appends the fill-up just computed, with today's date, to the log of `Fahrzeug`.
    void Dateneintrag();
    static void AddName(logstore::Recordset &rstTemp, const QString &Datum, const QString &Liter,
                        const QString &Kilometer, const QString &Verbrauch);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void load();
    void activate();
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void berechnen();
    void nochmal();
    void refuseInput();
    QString ergebnisText() const;
    void showBearbeiten1();
    QVariant datensatznummer() const;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *Command2 = nullptr;
    QFrame *Line1 = nullptr;

    bool m_aktiviert = false;
    // The overview and the editor exist at most once each and live until the program ends.
    toolkit::SingleWindow<Uebersicht> m_uebersicht;
    toolkit::SingleWindow<Bearbeiten1> m_bearbeiten1;
    // The entry last chosen in the overview, kept for the editor when the overview has been closed.
    QVariant m_gewaehlterEintrag;
};

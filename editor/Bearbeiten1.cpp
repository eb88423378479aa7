#include "Bearbeiten1.h"

#include "Activation.h"
#include "Clock.h"
#include "DataControl.h"
#include "DateCheck.h"
#include "Fonts.h"
#include "HandlerGuard.h"
#include "MessageBox.h"
#include "ProgramDirectory.h"
#include "ScreenCentre.h"
#include "StrayAccessKeys.h"
#include "Twips.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QFont boldArial()
{
    return toolkit::Fonts::font(QStringLiteral("Arial"), 8.25, toolkit::Fonts::bold);
}

} // namespace

Bearbeiten1::Bearbeiten1(std::function<QString()> fahrzeug, std::function<QVariant()> datensatznummer,
                         QWidget *parent)
    : QWidget(parent), m_fahrzeug(std::move(fahrzeug)), m_datensatznummer(std::move(datensatznummer))
{
    setObjectName(QStringLiteral("Bearbeiten1"));
    setWindowTitle(QStringLiteral("Bearbeiten"));
    // A tool window keeps the editor out of the task bar; the hints give it a plain fixed frame.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    toolkit::Twips::fixClientSize(this, 3150, 1875);
    buildControls();
    toolkit::ScreenCentre::whenShown(this);
    toolkit::StrayAccessKeys::ignoreIn(this);

    auto *activation = new toolkit::Activation(this);
    connect(activation, &toolkit::Activation::activated, this, &Bearbeiten1::onActivated);
    connect(m_command1, &QPushButton::clicked, this, &Bearbeiten1::onSave);
    connect(m_command2, &QPushButton::clicked, this, &Bearbeiten1::onDelete);
    m_text2->installEventFilter(this);
    m_text4->installEventFilter(this);
}

void Bearbeiten1::buildControls()
{
    const auto label = [this](QLabel *&control, const char *name, const QString &caption, const QFont &font,
                              QRect twips) {
        control = new QLabel(caption, this);
        control->setObjectName(QLatin1String(name));
        control->setFont(font);
        control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        toolkit::Twips::place(control, twips.x(), twips.y(), twips.width(), twips.height());
    };
    const QFont textFont =
        toolkit::Fonts::font(QStringLiteral("MS Sans Serif"), 8.25, toolkit::Fonts::regular);
    const auto textBox = [this, &textFont](QLineEdit *&control, const char *name, int top) {
        control = new QLineEdit(this);
        control->setObjectName(QLatin1String(name));
        control->setFont(textFont);
        toolkit::Twips::place(control, 1680, top, 1335, 285);
    };
    const auto button = [this](QPushButton *&control, const char *name, const QString &caption, QRect twips) {
        control = new QPushButton(caption, this);
        control->setObjectName(QLatin1String(name));
        control->setFont(boldArial());
        control->setAutoDefault(false);
        toolkit::Twips::place(control, twips.x(), twips.y(), twips.width(), twips.height());
    };

    label(m_label1, "Label1", QStringLiteral("Getankte Liter"), boldArial(), {120, 480, 1455, 255});
    label(m_label2, "Label2", QStringLiteral("Verbrauch"), boldArial(), {120, 840, 975, 255});
    label(m_label4, "Label4", QStringLiteral("Datum:"), boldArial(), {120, 120, 1335, 255});
    textBox(m_text1, "Text1", 120);
    textBox(m_text2, "Text2", 480);
    textBox(m_text3, "Text3", 840);
    button(m_command1, "Command1", QStringLiteral("&Übernahme"), {120, 1560, 1455, 255});
    button(m_command2, "Command2", QStringLiteral("&Löschen"), {1680, 1560, 1335, 255});
    label(m_label3, "Label3", QStringLiteral("Kilometer"),
          toolkit::Fonts::font(QStringLiteral("MS Sans Serif"), 8.25, toolkit::Fonts::bold),
          {120, 1200, 1215, 255});
    textBox(m_text4, "Text4", 1200);

    // A screen reader names each box by its label; the date's label ends in a colon.
    m_text1->setAccessibleName(QStringLiteral("Datum"));
    m_text2->setAccessibleName(m_label1->text());
    m_text3->setAccessibleName(m_label2->text());
    m_text4->setAccessibleName(m_label3->text());
    m_text1->setToolTip(QStringLiteral("Doppelklick=Aktuelles Datum"));
    m_text3->setEnabled(false);

    // The keyboard visits the kilometres last, after the two buttons.
    setTabOrder(m_text1, m_text2);
    setTabOrder(m_text2, m_text3);
    setTabOrder(m_text3, m_command1);
    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_text4);

    m_data1 = new logstore::DataControl(this);
    m_data1->setObjectName(QStringLiteral("Data1"));
    m_data1->bind(m_text1, QStringLiteral("Datum"));
    m_data1->bind(m_text2, QStringLiteral("Getankte Liter"));
    m_data1->bind(m_text3, QStringLiteral("Verbrauch auf 100 km in Liter"));
    m_data1->bind(m_text4, QStringLiteral("Gefahrene Kilometer"));
}

void Bearbeiten1::onActivated()
{
    // Whatever keeps the chosen entry from being shown must also keep the editor from storing
    // into some other entry: the window then goes away.
    bool shown = false;
    if (!toolkit::HandlerGuard::run([this, &shown] { shown = showChosenEntry(); })) {
        hide();
        return;
    }
    if (!shown) {
        toolkit::MessageBox::show(QStringLiteral("Der gewählte Eintrag ist nicht mehr vorhanden."));
        hide();
    }
}

bool Bearbeiten1::showChosenEntry()
{
    m_data1->setDatabaseName(toolkit::ProgramDirectory::databasePath());
    m_data1->setRecordSource(m_fahrzeug());
    m_data1->refresh();
    m_data1->moveLast();

    const QVariant chosen = m_datensatznummer();
    bool isNumber = false;
    const int position = chosen.isValid() && !chosen.isNull() ? chosen.toInt(&isNumber) : 0;
    if (!isNumber || position < 0 || position >= m_data1->recordCount())
        return false;
    m_data1->setAbsolutePosition(position);
    return true;
}

void Bearbeiten1::onSave()
{
    toolkit::HandlerGuard::run([this] {
        if (QLineEdit *empty = firstEmptyField()) {
            toolkit::MessageBox::show(QStringLiteral(
                "Die Felder 'Datum' 'Getankte Liter' 'Literpreis'  müssen ausgefüllt werden !!"));
            empty->setFocus();
            return;
        }
        Datumsabfrage();
        if (!Datumsfehler) {
            m_data1->edit();
            m_data1->update();
            m_data1->refresh();
            hide();
        }
    });
    Datumsfehler = false;
}

QLineEdit *Bearbeiten1::firstEmptyField() const
{
    if (m_text1->text().isEmpty())
        return m_text1;
    if (m_text2->text().isEmpty())
        return m_text2;
    if (m_text3->text().isEmpty()) {
        // The consumption cannot be typed; it follows from the kilometres and the litres.
        return m_text4->text().isEmpty() ? m_text4 : m_text2;
    }
    return nullptr;
}

void Bearbeiten1::onDelete()
{
    toolkit::HandlerGuard::run([this] {
        m_data1->deleteCurrent();
        hide();
    });
}

void Bearbeiten1::Datumsabfrage()
{
    const QString today = toolkit::Clock::todayText();
    Tag = DateCheck::currentDay(today);
    const std::optional<QString> refusal = DateCheck::refusal(m_text1->text(), today);
    if (!refusal)
        return;
    toolkit::MessageBox::show(*refusal, QStringLiteral("Datum n.i.O."));
    m_text1->setText(QString());
    m_text1->setFocus();
    Datumsfehler = true;
}

bool Bearbeiten1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text2 || watched == m_text4) {
        if (event->type() == QEvent::KeyPress) {
            m_keyPressedIn = watched;
        } else if (event->type() == QEvent::KeyRelease && m_keyPressedIn == watched) {
            if (watched == m_text2)
                onKeyReleased(m_text2, m_text4, LiveConsumption::Typed::Litres);
            else
                onKeyReleased(m_text4, m_text2, LiveConsumption::Typed::Kilometres);
        } else if (event->type() == QEvent::FocusOut) {
            m_keyPressedIn = nullptr;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Bearbeiten1::onKeyReleased(QLineEdit *typed, QLineEdit *other, LiveConsumption::Typed which)
{
    toolkit::HandlerGuard::run([=, this] {
        const LiveConsumption::Outcome outcome =
            LiveConsumption::afterKeyRelease(which, typed->text(), other->text(), m_text3->text());
        if (outcome.refused) {
            toolkit::MessageBox::show(QStringLiteral("Falsche Eingabe"));
            typed->setText(QString());
            typed->setFocus();
            return;
        }
        m_text3->setText(outcome.consumptionText);
    });
}

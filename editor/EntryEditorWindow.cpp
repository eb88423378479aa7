#include "EntryEditorWindow.h"

#include "Activation.h"
#include "Clock.h"
#include "DataControl.h"
#include "DateCheck.h"
#include "FieldBoxes.h"
#include "Fonts.h"
#include "Form.h"
#include "HandlerGuard.h"
#include "LogNames.h"
#include "MessageBox.h"
#include "ProgramDirectory.h"
#include "ScreenCentre.h"
#include "StrayAccessKeys.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

using core::LogNames;
using toolkit::Fonts;

namespace editor {

EntryEditorWindow::EntryEditorWindow(std::function<QString()> vehicle,
                                     std::function<std::optional<int>()> chosenEntry, QWidget *parent)
    : QWidget(parent), m_vehicle(std::move(vehicle)), m_chosenEntry(std::move(chosenEntry))
{
    setObjectName(QStringLiteral("entryEditor"));
    setWindowTitle(QStringLiteral("Bearbeiten"));
    // A tool window keeps the editor out of the task bar; the hints give it a plain fixed frame.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    toolkit::ScreenCentre::whenShown(this);
    toolkit::StrayAccessKeys::ignoreIn(this);

    connect(new toolkit::Activation(this), &toolkit::Activation::activated, this,
            &EntryEditorWindow::onActivated);
    connect(m_save, &QPushButton::clicked, this, &EntryEditorWindow::onSaveClicked);
    connect(m_delete, &QPushButton::clicked, this, &EntryEditorWindow::onDeleteClicked);
    m_date->installEventFilter(this);
    m_litres->installEventFilter(this);
    m_kilometres->installEventFilter(this);
}

void EntryEditorWindow::createControls()
{
    const toolkit::Form form(this);
    form.fixClientSize(3150, 1875);
    QLabel *litresLabel = form.label("litresLabel", QStringLiteral("Getankte Liter"), {120, 480, 1455, 255},
                                     Fonts::arial(8.25));
    QLabel *consumptionLabel =
        form.label("consumptionLabel", QStringLiteral("Verbrauch"), {120, 840, 975, 255}, Fonts::arial(8.25));
    form.label("dateLabel", QStringLiteral("Datum:"), {120, 120, 1335, 255}, Fonts::arial(8.25));
    const QFont textFont = Fonts::msSansSerif(8.25, Fonts::regular);
    m_date = form.textBox("date", {1680, 120, 1335, 285}, textFont);
    m_litres = form.textBox("litres", {1680, 480, 1335, 285}, textFont);
    m_consumption = form.textBox("consumption", {1680, 840, 1335, 285}, textFont);
    m_save = form.button("save", QStringLiteral("&Übernahme"), {120, 1560, 1455, 255}, Fonts::arial(8.25));
    m_delete = form.button("delete", QStringLiteral("&Löschen"), {1680, 1560, 1335, 255}, Fonts::arial(8.25));
    QLabel *kilometresLabel = form.label("kilometresLabel", QStringLiteral("Kilometer"),
                                         {120, 1200, 1215, 255}, Fonts::msSansSerif(8.25));
    m_kilometres = form.textBox("kilometres", {1680, 1200, 1335, 285}, textFont);

    for (QLabel *label : findChildren<QLabel *>())
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A screen reader names each box by its label; the date's label ends in a colon.
    m_date->setAccessibleName(LogNames::date());
    m_litres->setAccessibleName(litresLabel->text());
    m_consumption->setAccessibleName(consumptionLabel->text());
    m_kilometres->setAccessibleName(kilometresLabel->text());
    m_date->setToolTip(QStringLiteral("Doppelklick=Aktuelles Datum"));
    // The consumption follows from the litres and the kilometres; nobody types it.
    m_consumption->setEnabled(false);

    // The keyboard visits the kilometres last, after the two buttons.
    setTabOrder(m_date, m_litres);
    setTabOrder(m_litres, m_consumption);
    setTabOrder(m_consumption, m_save);
    setTabOrder(m_save, m_delete);
    setTabOrder(m_delete, m_kilometres);

    m_log = new logstore::DataControl(this);
    m_boxes = new FieldBoxes(m_log, this);
    m_boxes->bind(m_date, LogNames::date());
    m_boxes->bind(m_litres, LogNames::litres());
    m_boxes->bind(m_consumption, LogNames::consumption());
    m_boxes->bind(m_kilometres, LogNames::kilometres());
}

void EntryEditorWindow::onActivated()
{
    if (typingKept())
        return;
    // Whatever keeps the chosen entry from being shown must also keep the editor from storing
    // into some other entry: the window then goes away.
    bool shown = false;
    if (!toolkit::HandlerGuard::run([this, &shown] { shown = showChosenEntry(); })) {
        putAway();
        return;
    }
    if (!shown) {
        toolkit::MessageBox::show(QStringLiteral("Der gewählte Eintrag ist nicht mehr vorhanden."));
        putAway();
        return;
    }
    m_shownEntry = ShownEntry{m_vehicle(), *m_chosenEntry(), boxTexts()};
}

bool EntryEditorWindow::typingKept() const
{
    // Reading the entry again would throw the typing away without a word. The record set still
    // holds that entry's row, so storing later writes into it whatever others did meanwhile. A
    // new choice in the overview, or untouched boxes, read the log afresh.
    return m_shownEntry && m_shownEntry->vehicle == m_vehicle() &&
           std::optional(m_shownEntry->position) == m_chosenEntry() && m_shownEntry->texts != boxTexts();
}

QStringList EntryEditorWindow::boxTexts() const
{
    return {m_date->text(), m_litres->text(), m_consumption->text(), m_kilometres->text()};
}

void EntryEditorWindow::putAway()
{
    m_shownEntry.reset();
    hide();
}

bool EntryEditorWindow::showChosenEntry()
{
    m_log->setDatabaseName(LogNames::pathIn(toolkit::ProgramDirectory::path()));
    m_log->setRecordSource(m_vehicle());
    m_log->refresh();
    const std::optional<int> position = m_chosenEntry();
    if (!position || *position < 0 || *position >= m_log->recordCount())
        return false;
    m_log->setAbsolutePosition(*position);
    return true;
}

void EntryEditorWindow::onSaveClicked()
{
    toolkit::HandlerGuard::run([this] {
        if (QLineEdit *empty = firstEmptyField()) {
            // Word for word as users have always seen it: it names a field the window does not have
            // and has two blanks before "müssen".
            toolkit::MessageBox::show(QStringLiteral(
                "Die Felder 'Datum' 'Getankte Liter' 'Literpreis'  müssen ausgefüllt werden !!"));
            empty->setFocus();
            return;
        }
        if (!dateAccepted())
            return;
        m_log->edit();
        m_log->update(m_boxes->texts());
        m_log->refresh();
        putAway();
    });
}

QLineEdit *EntryEditorWindow::firstEmptyField() const
{
    if (m_date->text().isEmpty())
        return m_date;
    if (m_litres->text().isEmpty())
        return m_litres;
    if (m_consumption->text().isEmpty()) {
        // The consumption cannot be typed; it follows from the kilometres and the litres.
        return m_kilometres->text().isEmpty() ? m_kilometres : m_litres;
    }
    return nullptr;
}

bool EntryEditorWindow::dateAccepted()
{
    const std::optional<QString> refusal =
        core::DateCheck::refusal(m_date->text(), toolkit::Clock::todayText());
    if (!refusal)
        return true;
    toolkit::MessageBox::show(*refusal, QStringLiteral("Datum n.i.O."));
    m_date->clear();
    m_date->setFocus();
    return false;
}

void EntryEditorWindow::onDeleteClicked()
{
    toolkit::HandlerGuard::run([this] {
        m_log->deleteCurrent();
        putAway();
    });
}

bool EntryEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    // As the date box's tooltip promises, a double-click puts today's date into it; nothing is
    // stored before "&Übernahme", and the box does not go on to select a word.
    if (watched == m_date && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        m_date->setText(toolkit::Clock::todayText());
        return true;
    }
    if (watched == m_litres || watched == m_kilometres) {
        if (event->type() == QEvent::KeyPress) {
            m_keyPressedIn = watched;
        } else if (event->type() == QEvent::KeyRelease && m_keyPressedIn == watched) {
            if (watched == m_litres)
                onKeyReleased(m_litres, m_kilometres, core::LiveConsumption::Typed::Litres);
            else
                onKeyReleased(m_kilometres, m_litres, core::LiveConsumption::Typed::Kilometres);
        } else if (event->type() == QEvent::FocusOut) {
            m_keyPressedIn = nullptr;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EntryEditorWindow::onKeyReleased(QLineEdit *typed, QLineEdit *other, core::LiveConsumption::Typed which)
{
    toolkit::HandlerGuard::run([=, this] {
        const core::LiveConsumption::Outcome outcome = core::LiveConsumption::afterKeyRelease(
            which, typed->text(), other->text(), m_consumption->text());
        if (outcome.refused) {
            toolkit::MessageBox::show(QStringLiteral("Falsche Eingabe"));
            typed->clear();
            typed->setFocus();
            return;
        }
        m_consumption->setText(outcome.consumptionText);
    });
}

} // namespace editor

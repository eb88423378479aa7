#include "CalculatorWindow.h"

#include "Activation.h"
#include "Clock.h"
#include "Consumption.h"
#include "Database.h"
#include "EntryEditorWindow.h"
#include "Fonts.h"
#include "Form.h"
#include "HandlerGuard.h"
#include "LogNames.h"
#include "MessageBox.h"
#include "NumberText.h"
#include "OverviewWindow.h"
#include "Palette.h"
#include "ProgramDirectory.h"
#include "RowAppender.h"
#include "ScreenCentre.h"
#include "StrayAccessKeys.h"
#include "Twips.h"
#include "WindowIcon.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

using core::LogNames;
using toolkit::Fonts;

namespace calculator {

namespace {

const QString calculateCaption = QStringLiteral("&Berechnen");
const QString noResult = QStringLiteral("Zur Zeit keine Daten");

} // namespace

CalculatorWindow::CalculatorWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("calculator"));
    setWindowTitle(QStringLiteral("Tankverzehrsberechnung"));
    setWindowIcon(toolkit::WindowIcon::icon());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowTitleHint);
    createControls();

    connect(new toolkit::Activation(this), &toolkit::Activation::activated, this,
            [this] { m_activated = true; });
    connect(m_calculate, &QPushButton::clicked, this, &CalculatorWindow::onCalculateClicked);
    connect(m_showOverview, &QPushButton::clicked, this, &CalculatorWindow::onShowOverviewClicked);
    connect(m_vehicles, &QComboBox::currentIndexChanged, this, &CalculatorWindow::onVehicleChosen);
    // Choosing the item that is already selected is a choice too: it puts the focus in the litres.
    connect(m_vehicles, &QComboBox::activated, this, &CalculatorWindow::onVehicleChosen);

    // The list starts without a selection; selecting the car is a choice like any other.
    {
        const QSignalBlocker quiet(m_vehicles);
        m_vehicles->addItem(QStringLiteral("    ") + LogNames::car());
        m_vehicles->addItem(LogNames::motorcycle());
        m_vehicles->setCurrentIndex(-1);
    }
    m_vehicles->setCurrentIndex(0);
    m_vehicle = LogNames::car();

    toolkit::ScreenCentre::whenShown(this);
    toolkit::StrayAccessKeys::ignoreIn(this);
}

CalculatorWindow::~CalculatorWindow() = default;

void CalculatorWindow::createControls()
{
    const toolkit::Form form(this);
    form.fixClientSize(4935, 4410);
    QLabel *litresHeading = form.label("litresHeading", QStringLiteral("Verbrauchte Liter"),
                                       {120, 1200, 2055, 255}, Fonts::arial(12));
    QLabel *kilometresHeading = form.label("kilometresHeading", QStringLiteral("Gefahrene Kilometer"),
                                           {2520, 1200, 2415, 255}, Fonts::arial(12));
    form.label("inputHeading", QStringLiteral("Eingabe"), {1680, 0, 1215, 375}, Fonts::arial(15.75));
    m_litres = form.textBox("litres", {360, 1560, 1455, 375}, Fonts::arial(12));
    m_kilometres = form.textBox("kilometres", {3120, 1560, 1335, 375}, Fonts::arial(12));
    m_calculate = form.button("calculate", calculateCaption, {1200, 2160, 2415, 495}, Fonts::arial(12));
    form.label("resultHeading", QStringLiteral("Ergebnis"), {1800, 2760, 1335, 375}, Fonts::arial(15.75));
    m_result = form.label("result", noResult, {0, 3240, 4935, 495}, Fonts::arial(9.75));
    m_vehicles = form.list("vehicles", {1200, 840, 2175, 315});
    QLabel *vehicleHeading =
        form.label("vehicleHeading", QStringLiteral("Fahrzeug"), {1320, 480, 1935, 375}, Fonts::arial(12));
    m_showOverview =
        form.button("showOverview", QStringLiteral("&Übersicht"), {120, 3960, 4695, 375}, Fonts::arial(9.75));

    for (QLineEdit *box : {m_litres, m_kilometres})
        box->setAlignment(Qt::AlignCenter);
    m_result->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    toolkit::Palette::setBackground(m_result, QColor(192, 192, 192));
    toolkit::Palette::setTextColour(m_result, QColor(255, 0, 0));
    vehicleHeading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The line between the input and the result, two pixels wide.
    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("divider"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(2);
    line->setGeometry(0, toolkit::Twips::toPixels(2040) - 1, toolkit::Twips::toPixels(4920), 2);

    // A screen reader names each box by the heading above it; a list reads out its chosen item as
    // its name, so its heading is its label.
    m_litres->setAccessibleName(litresHeading->text());
    m_kilometres->setAccessibleName(kilometresHeading->text());
    m_vehicles->setAccessibleName(vehicleHeading->text());
    vehicleHeading->setBuddy(m_vehicles);

    setTabOrder(m_litres, m_kilometres);
    setTabOrder(m_kilometres, m_calculate);
    setTabOrder(m_calculate, m_vehicles);
    setTabOrder(m_vehicles, m_showOverview);
    m_litres->setFocus();
}

void CalculatorWindow::onVehicleChosen()
{
    // The vehicle follows the position of the choice, not the text of the item.
    const int chosen = m_vehicles->currentIndex();
    if (chosen != 0 && chosen != 1)
        return;
    m_vehicle = chosen == 0 ? LogNames::car() : LogNames::motorcycle();
    if (m_activated)
        m_litres->setFocus();
}

void CalculatorWindow::onCalculateClicked()
{
    // The button's caption is its state.
    toolkit::HandlerGuard::run([this] {
        if (m_calculate->text() == calculateCaption)
            calculate();
        else
            startAgain();
    });
}

void CalculatorWindow::calculate()
{
    if (!core::NumberText::isNumeric(m_litres->text()) ||
        !core::NumberText::isNumeric(m_kilometres->text())) {
        refuseInput();
        return;
    }
    // Throws on kilometres 0 or a value beyond a double: then nothing below changes.
    const QString consumption = core::Consumption::shownText(core::Consumption::per100km(
        *core::NumberText::read(m_litres->text()), *core::NumberText::read(m_kilometres->text())));
    m_result->setText(QStringLiteral("Sie haben  ") + consumption +
                      QStringLiteral("  Liter pro 100 km verbraucht !"));
    record(consumption);
    m_calculate->setText(QStringLiteral("&Nochmal"));
    m_litres->setFocus();
}

void CalculatorWindow::refuseInput()
{
    // Word for word as users have always seen it, capital I and spelling included.
    toolkit::MessageBox::show(
        QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??") +
            QStringLiteral("\r\n") + QString(37, QLatin1Char(' ')) + QStringLiteral("Also nochmal !!"),
        QStringLiteral("Fehler"), toolkit::MessageBox::Icon::Information);
    m_litres->clear();
    m_kilometres->clear();
    m_litres->setFocus();
}

void CalculatorWindow::startAgain()
{
    m_litres->clear();
    m_kilometres->clear();
    m_result->setText(noResult);
    m_calculate->setText(calculateCaption);
    m_litres->setFocus();
}

void CalculatorWindow::record(const QString &consumption)
{
    // The litres and kilometres go to the log as typed.
    logstore::Database log = logstore::Database::open(LogNames::pathIn(toolkit::ProgramDirectory::path()));
    logstore::RowAppender entries = log.openAppender(m_vehicle);
    appendEntry(entries, toolkit::Clock::todayText(), m_litres->text(), m_kilometres->text(), consumption);
}

void CalculatorWindow::appendEntry(logstore::RowAppender &log, const QString &date, const QString &litres,
                                   const QString &kilometres, const QString &consumption)
{
    log.addNew();
    log.setField(LogNames::date(), date);
    log.setField(LogNames::kilometres(), kilometres);
    log.setField(LogNames::litres(), litres);
    log.setField(LogNames::consumption(), consumption);
    log.update();
}

void CalculatorWindow::onShowOverviewClicked()
{
    // The editor belongs to the overview: a minimised editor comes back with it, its typing kept.
    // It is restored first, so that the overview, activated after it, has the keys.
    editor::EntryEditorWindow *editor = m_editor.get();
    if (editor && editor->isVisible() && editor->isMinimized()) {
        editor->setWindowState(editor->windowState() & ~Qt::WindowMinimized);
        editor->show();
        editor->raise();
    }
    m_overview.show(
        [this] {
            auto *window = new overview::OverviewWindow([this] { return m_vehicle; });
            connect(window, &overview::OverviewWindow::editRequested, this,
                    &CalculatorWindow::onEditRequested);
            return window;
        },
        this);
}

void CalculatorWindow::onEditRequested()
{
    // The editor is a tool window kept above the overview, not above the whole program: on every
    // desktop one click on the overview then leaves the editor in sight above it, the main window
    // can still be brought over both, and minimising the overview takes the editor along. GNOME
    // and KDE do not minimise such a window by itself; where a window manager does, "&Übersicht"
    // brings it back.
    m_chosenEntry = m_overview.get()->chosenEntry();
    m_editor.show(
        [this] {
            return new editor::EntryEditorWindow([this] { return m_vehicle; },
                                                 [this] { return chosenEntry(); });
        },
        m_overview.get(), m_overview.get());
}

std::optional<int> CalculatorWindow::chosenEntry() const
{
    if (const overview::OverviewWindow *window = m_overview.get())
        return window->chosenEntry();
    return m_chosenEntry;
}

void CalculatorWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

} // namespace calculator

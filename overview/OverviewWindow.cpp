#include "OverviewWindow.h"

#include "Activation.h"
#include "Consumption.h"
#include "DataControl.h"
#include "Failure.h"
#include "Fonts.h"
#include "Form.h"
#include "HandlerGuard.h"
#include "LogGrid.h"
#include "LogNames.h"
#include "Palette.h"
#include "ProgramDirectory.h"
#include "ScreenCentre.h"
#include "Twips.h"
#include "WindowIcon.h"

#include <QLabel>
#include <QPushButton>

using core::LogNames;
using toolkit::Fonts;

namespace overview {

namespace {

const QColor blue(0, 0, 255);
const QColor paleYellow(255, 255, 192);

// A screen reader names a value field by its heading and reads its value as the description.
void showValue(QLabel *field, const QString &text)
{
    field->setText(text);
    field->setAccessibleDescription(text);
}

} // namespace

OverviewWindow::OverviewWindow(std::function<QString()> vehicle, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_vehicle(std::move(vehicle))
{
    // A plain window beside the main window, not a tool window: GNOME's, KDE's and Xfce's window
    // managers keep a tool window above every window of the program, and the overview, larger and
    // centred, would bury the main window for good. As a plain window it goes behind the main
    // window when that is brought forward, comes back with "&Übersicht", a click or its task-bar
    // entry. It has a minimise button because GNOME's window manager minimises no window without
    // one, while the others minimise any: so minimising is the same everywhere, and it takes the
    // editor along, which stays above the overview (see the main window).
    setObjectName(QStringLiteral("overview"));
    setWindowTitle(QStringLiteral("Übersicht"));
    setWindowIcon(toolkit::WindowIcon::icon());
    createControls();
    toolkit::ScreenCentre::whenShown(this);

    connect(new toolkit::Activation(this), &toolkit::Activation::activated, this,
            &OverviewWindow::onActivated);
    connect(m_edit, &QPushButton::clicked, this, &OverviewWindow::onEditClicked);
    connect(m_grid, &LogGrid::rowsSelected, this, &OverviewWindow::onRowsSelected);
}

void OverviewWindow::createControls()
{
    const toolkit::Form form(this);
    form.fixClientSize(7335, 5385);

    m_log = new logstore::DataControl(this);
    m_grid = new LogGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setDataControl(m_log);
    m_grid->setGeometry(toolkit::Twips::rect({120, 960, 6975, 2775}));

    m_vehicleName = form.label("vehicleName", QString(), {120, 240, 6975, 615}, Fonts::arial(27.75));
    toolkit::Palette::setTextColour(m_vehicleName, blue);
    QLabel *kilometresHeading = form.label("kilometresHeading", QStringLiteral("Gesamte Kilometer"),
                                           {240, 3840, 1695, 495}, Fonts::msSansSerif(9.75));
    QLabel *litresHeading = form.label("litresHeading", QStringLiteral("Gesamte Liter"),
                                       {2880, 3840, 1815, 495}, Fonts::arial(9.75));
    QLabel *averageHeading = form.label("averageHeading", QStringLiteral("Durchschnitts- verbrauch"),
                                        {5520, 3840, 1575, 495}, Fonts::arial(9.75));
    // The value fields show their design names until the log is first read.
    m_totalLitres =
        form.label("totalLitres", QStringLiteral("Label6"), {2880, 4440, 1815, 375}, Fonts::arial(12));
    m_average = form.label("average", QStringLiteral("Label7"), {5520, 4440, 1575, 375}, Fonts::arial(12));
    m_totalKilometres =
        form.label("totalKilometres", QStringLiteral("Label5"), {240, 4440, 1695, 375}, Fonts::arial(12));
    m_edit = form.button("edit", QStringLiteral("Bearbeiten"), {240, 4920, 6855, 375}, Fonts::arial(14.25));
    m_edit->setEnabled(false);

    for (QLabel *heading : {m_vehicleName, kilometresHeading, litresHeading, averageHeading}) {
        heading->setWordWrap(true);
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    // The values: blue on pale yellow in a single-line border; a screen reader names each by the
    // heading above it.
    const QList<std::pair<QLabel *, QLabel *>> values{
        {m_totalKilometres, kilometresHeading}, {m_totalLitres, litresHeading}, {m_average, averageHeading}};
    for (const auto &[value, heading] : values) {
        value->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        value->setFrameStyle(QFrame::Box | QFrame::Plain);
        value->setLineWidth(1);
        toolkit::Palette::setTextColour(value, blue);
        toolkit::Palette::setBackground(value, paleYellow);
        value->setAccessibleName(heading->text());
    }
    m_grid->setAccessibleName(QStringLiteral("Einträge"));

    setTabOrder(m_grid, m_edit);
    m_grid->setFocus();
}

void OverviewWindow::onActivated()
{
    // Reads the totals, then the log; a failing step ends the reading and leaves what it did not reach.
    toolkit::HandlerGuard::run([this] {
        const QString logPath = LogNames::pathIn(toolkit::ProgramDirectory::path());
        m_log->setDatabaseName(logPath);
        m_log->setRecordSource(LogNames::summaryOf(m_vehicle()));
        // While the data control holds the totals the grid lists nothing; it shows the log again
        // once the log has been read.
        m_grid->detach();
        m_log->refresh();
        showValue(m_totalKilometres, m_log->field(0));
        showValue(m_totalLitres, m_log->field(1));
        showValue(m_average, core::Consumption::average(m_totalLitres->text(), m_totalKilometres->text()));
        m_vehicleName->setText(m_vehicle() == LogNames::car() ? LogNames::car() : LogNames::motorcycle());
        m_log->setRecordSource(m_vehicle());
        m_log->refresh();
        m_grid->attach();
    });
}

void OverviewWindow::onEditClicked()
{
    toolkit::HandlerGuard::run([this] {
        const int position = m_log->absolutePosition();
        // An emptied log can leave the button enabled with no row to open.
        if (position < 0)
            throw core::Failure(
                QStringLiteral("Die Liste enthält keinen Eintrag, der bearbeitet werden kann."));
        m_chosenEntry = position;
        emit editRequested();
        m_edit->setEnabled(false);
    });
}

void OverviewWindow::onRowsSelected()
{
    m_edit->setEnabled(true);
}

} // namespace overview

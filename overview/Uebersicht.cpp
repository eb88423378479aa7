#include "Uebersicht.h"

#include "Activation.h"
#include "Consumption.h"
#include "DataControl.h"
#include "Failure.h"
#include "Fonts.h"
#include "HandlerGuard.h"
#include "LogGrid.h"
#include "NumberText.h"
#include "Palette.h"
#include "ProgramDirectory.h"
#include "ScreenCentre.h"
#include "StrayAccessKeys.h"
#include "Twips.h"
#include "WindowIcon.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QColor blue(0, 0, 255);
const QColor paleYellow(255, 255, 192);

QLabel *makeLabel(QWidget *window, const QString &name, const QString &caption, const QFont &font,
                  const QRect &twips)
{
    auto *label = new QLabel(caption, window);
    label->setObjectName(name);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    toolkit::Twips::place(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

// A value field: blue on pale yellow in a single-line border.
QLabel *makeValue(QWidget *window, const QString &name, const QRect &twips)
{
    QLabel *label = makeLabel(window, name, name,
                              toolkit::Fonts::font(QStringLiteral("Arial"), 12, toolkit::Fonts::bold), twips);
    label->setWordWrap(false);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    toolkit::Palette::setTextColour(label, blue);
    toolkit::Palette::setBackground(label, paleYellow);
    return label;
}

// A screen reader names a value field by its heading and reads its value as the description.
void showValue(QLabel *field, const QString &text)
{
    field->setText(text);
    field->setAccessibleDescription(text);
}

// Litres per 100 km from the two totals as they are shown. The empty text when it cannot be
// computed (a total that does not read as a number, no kilometres, a result beyond a double):
// the window then still names the vehicle and lists its log.
QString averageText(const QString &litresText, const QString &kilometresText)
{
    const std::optional<double> litres = NumberText::read(litresText);
    const std::optional<double> kilometres = NumberText::read(kilometresText);
    if (!litres || !kilometres)
        return {};
    try {
        return NumberText::text(Consumption::per100km(*litres, *kilometres));
    } catch (const toolkit::Failure &) {
        return {};
    }
}

} // namespace

Uebersicht::Uebersicht(std::function<QString()> fahrzeug, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_fahrzeug(std::move(fahrzeug))
{
    setObjectName(QStringLiteral("Übersicht"));
    setWindowTitle(QStringLiteral("Übersicht"));
    setWindowIcon(toolkit::WindowIcon::icon());
    toolkit::Twips::fixClientSize(this, 7335, 5385);

    const QFont arialBold = toolkit::Fonts::font(QStringLiteral("Arial"), 9.75, toolkit::Fonts::bold);

    m_data1 = new logstore::DataControl(this);
    m_data1->setObjectName(QStringLiteral("Data1"));

    m_dbGrid1 = new LogGrid(this);
    m_dbGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_dbGrid1->setDataControl(m_data1);
    toolkit::Twips::place(m_dbGrid1, 120, 960, 6975, 2775);

    m_label1 = makeLabel(this, QStringLiteral("Label1"), {},
                         toolkit::Fonts::font(QStringLiteral("Arial"), 27.75, toolkit::Fonts::bold),
                         {120, 240, 6975, 615});
    toolkit::Palette::setTextColour(m_label1, blue);
    const QLabel *kilometresHeading =
        makeLabel(this, QStringLiteral("Label2"), QStringLiteral("Gesamte Kilometer"),
                  toolkit::Fonts::font(QStringLiteral("MS Sans Serif"), 9.75, toolkit::Fonts::bold),
                  {240, 3840, 1695, 495});
    const QLabel *litresHeading = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Gesamte Liter"),
                                            arialBold, {2880, 3840, 1815, 495});
    const QLabel *averageHeading =
        makeLabel(this, QStringLiteral("Label4"), QStringLiteral("Durchschnitts- verbrauch"), arialBold,
                  {5520, 3840, 1575, 495});
    m_label6 = makeValue(this, QStringLiteral("Label6"), {2880, 4440, 1815, 375});
    m_label7 = makeValue(this, QStringLiteral("Label7"), {5520, 4440, 1575, 375});
    m_label5 = makeValue(this, QStringLiteral("Label5"), {240, 4440, 1695, 375});
    // A screen reader names each value by the heading above it (and reads the value as its description).
    m_label5->setAccessibleName(kilometresHeading->text());
    m_label6->setAccessibleName(litresHeading->text());
    m_label7->setAccessibleName(averageHeading->text());
    m_dbGrid1->setAccessibleName(QStringLiteral("Einträge"));

    m_command1 = new QPushButton(QStringLiteral("Bearbeiten"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setFont(toolkit::Fonts::font(QStringLiteral("Arial"), 14.25, toolkit::Fonts::bold));
    m_command1->setEnabled(false);
    m_command1->setAutoDefault(false);
    toolkit::Twips::place(m_command1, 240, 4920, 6855, 375);

    setTabOrder(m_dbGrid1, m_command1);
    m_dbGrid1->setFocus();
    toolkit::ScreenCentre::whenShown(this);
    toolkit::StrayAccessKeys::ignoreIn(this);

    connect(new toolkit::Activation(this), &toolkit::Activation::activated, this,
            [this] { toolkit::HandlerGuard::run([this] { activationSteps(); }); });
    connect(m_command1, &QPushButton::clicked, this,
            [this] { toolkit::HandlerGuard::run([this] { command1Click(); }); });
    connect(m_dbGrid1, &LogGrid::rowsSelected, this,
            [this] { toolkit::HandlerGuard::run([this] { dbGrid1SelChange(); }); });
}

void Uebersicht::activationSteps()
{
    const QString summary = m_fahrzeug() == QLatin1String("Auto") ? QStringLiteral("Autogesamt")
                                                                  : QStringLiteral("Motorradgesamt");
    m_data1->setDatabaseName(toolkit::ProgramDirectory::databasePath());
    m_data1->setRecordSource(summary);
    // While the data control holds the totals the grid lists nothing; it shows the log again
    // once the log has been read.
    m_dbGrid1->detach();
    m_data1->refresh();
    showValue(m_label5, m_data1->field(0));
    showValue(m_label6, m_data1->field(1));
    showValue(m_label7, averageText(m_label6->text(), m_label5->text()));
    showValue(m_label7, NumberText::cut(m_label7->text()));
    m_label1->setText(m_fahrzeug() == QLatin1String("Auto") ? QStringLiteral("Auto")
                                                            : QStringLiteral("Motorrad"));
    m_data1->setDatabaseName(toolkit::ProgramDirectory::databasePath());
    m_data1->setRecordSource(m_fahrzeug());
    m_data1->refresh();
    m_dbGrid1->attach();
}

void Uebersicht::command1Click()
{
    const int position = m_data1->absolutePosition();
    // An emptied log can leave the button enabled with no row to open.
    if (position < 0)
        throw toolkit::Failure(
            QStringLiteral("Die Liste enthält keinen Eintrag, der bearbeitet werden kann."));
    Datensatznummer = QVariant(position);
    emit bearbeitenRequested();
    m_command1->setEnabled(false);
}

void Uebersicht::dbGrid1SelChange()
{
    m_command1->setEnabled(true);
}

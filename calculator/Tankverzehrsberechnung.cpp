#include "Tankverzehrsberechnung.h"

#include "Activation.h"
#include "Bearbeiten1.h"
#include "Clock.h"
#include "Consumption.h"
#include "Database.h"
#include "Fonts.h"
#include "HandlerGuard.h"
#include "MessageBox.h"
#include "NumberText.h"
#include "Palette.h"
#include "ProgramDirectory.h"
#include "Recordset.h"
#include "ScreenCentre.h"
#include "StrayAccessKeys.h"
#include "Twips.h"
#include "Uebersicht.h"
#include "WindowIcon.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

using toolkit::Fonts;
using toolkit::Twips;

namespace {

const QString berechnenCaption = QStringLiteral("&Berechnen");
const QString keineDaten = QStringLiteral("Zur Zeit keine Daten");

QFont arial(qreal points)
{
    return Fonts::font(QStringLiteral("Arial"), points, Fonts::bold);
}

template <typename Control>
Control *make(QWidget *window, const char *name, const QString &caption, int left, int top, int width,
              int height, const QFont &font)
{
    auto *control = new Control(caption, window);
    control->setObjectName(QLatin1String(name));
    Twips::place(control, left, top, width, height);
    control->setFont(font);
    return control;
}

QLineEdit *makeTextBox(QWidget *window, const char *name, int left, int top, int width, int height)
{
    auto *box = make<QLineEdit>(window, name, QString(), left, top, width, height, arial(12));
    box->setAlignment(Qt::AlignCenter);
    return box;
}

} // namespace

Tankverzehrsberechnung::Tankverzehrsberechnung(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Tankverzehrsberechnung"));
    setWindowTitle(QStringLiteral("Tankverzehrsberechnung"));
    setWindowIcon(toolkit::WindowIcon::icon());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowTitleHint);
    Twips::fixClientSize(this, 4935, 4410);
    createControls();

    connect(new toolkit::Activation(this), &toolkit::Activation::activated, this,
            &Tankverzehrsberechnung::activate);
    connect(Command1, &QPushButton::clicked, this, &Tankverzehrsberechnung::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Tankverzehrsberechnung::Command2_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Tankverzehrsberechnung::Combo1_Click);
    // Choosing the item that is already selected is a click too: it puts the focus back in the litres.
    connect(Combo1, &QComboBox::activated, this, &Tankverzehrsberechnung::Combo1_Click);

    load();
    toolkit::ScreenCentre::whenShown(this);
    toolkit::StrayAccessKeys::ignoreIn(this);
}

Tankverzehrsberechnung::~Tankverzehrsberechnung() = default;

void Tankverzehrsberechnung::createControls()
{
    Label1 =
        make<QLabel>(this, "Label1", QStringLiteral("Verbrauchte Liter"), 120, 1200, 2055, 255, arial(12));
    Label2 =
        make<QLabel>(this, "Label2", QStringLiteral("Gefahrene Kilometer"), 2520, 1200, 2415, 255, arial(12));
    Label3 = make<QLabel>(this, "Label3", QStringLiteral("Eingabe"), 1680, 0, 1215, 375, arial(15.75));
    Text1 = makeTextBox(this, "Text1", 360, 1560, 1455, 375);
    Text2 = makeTextBox(this, "Text2", 3120, 1560, 1335, 375);
    Command1 = make<QPushButton>(this, "Command1", berechnenCaption, 1200, 2160, 2415, 495, arial(12));
    Label4 = make<QLabel>(this, "Label4", QStringLiteral("Ergebnis"), 1800, 2760, 1335, 375, arial(15.75));
    Label5 = make<QLabel>(this, "Label5", keineDaten, 0, 3240, 4935, 495, arial(9.75));
    Label5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    toolkit::Palette::setBackground(Label5, QColor(192, 192, 192));
    toolkit::Palette::setTextColour(Label5, QColor(255, 0, 0));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(false);
    Twips::place(Combo1, 1200, 840, 2175, 315);

    Label6 = make<QLabel>(this, "Label6", QStringLiteral("Fahrzeug"), 1320, 480, 1935, 375, arial(12));
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Command2 =
        make<QPushButton>(this, "Command2", QStringLiteral("&Übersicht"), 120, 3960, 4695, 375, arial(9.75));

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setLineWidth(2);
    Line1->setGeometry(0, Twips::toPixels(2040) - 1, Twips::toPixels(4920), 2);

    // A screen reader names each box by the heading above it.
    Text1->setAccessibleName(Label1->text());
    Text2->setAccessibleName(Label2->text());
    Combo1->setAccessibleName(Label6->text());
    // A list reads out its chosen item as its name; the heading is its label for a screen reader.
    Label6->setBuddy(Combo1);

    for (QPushButton *button : {Command1, Command2})
        button->setAutoDefault(false);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Combo1);
    setTabOrder(Combo1, Command2);
    Text1->setFocus();
}

void Tankverzehrsberechnung::load()
{
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->addItem(QStringLiteral("    Auto"));
        Combo1->addItem(QStringLiteral("Motorrad"));
        Combo1->setCurrentIndex(-1);
    }
    Combo1->setCurrentIndex(0);
    Fahrzeug = QStringLiteral("Auto");
}

void Tankverzehrsberechnung::activate()
{
    m_aktiviert = true;
}

void Tankverzehrsberechnung::Combo1_Click()
{
    if (Combo1->currentIndex() == 0) {
        Fahrzeug = QStringLiteral("Auto");
        if (m_aktiviert)
            Text1->setFocus();
    }
    if (Combo1->currentIndex() == 1) {
        Fahrzeug = QStringLiteral("Motorrad");
        if (m_aktiviert)
            Text1->setFocus();
    }
}

void Tankverzehrsberechnung::Command1_Click()
{
    toolkit::HandlerGuard::run([this] {
        if (Command1->text() == berechnenCaption)
            berechnen();
        else
            nochmal();
    });
}

void Tankverzehrsberechnung::berechnen()
{
    if (!NumberText::isNumeric(Text1->text()) || !NumberText::isNumeric(Text2->text())) {
        refuseInput();
        return;
    }
    const double liter = *NumberText::read(Text1->text());
    const double kilometer = *NumberText::read(Text2->text());
    // Throws on kilometres 0 or a value beyond a double: then nothing below changes.
    Ergebnis = Consumption::per100km(liter, kilometer);

    const QString numberText = NumberText::text(Ergebnis.toDouble());
    if (numberText.contains(QLatin1Char(',')))
        Ergebnis = NumberText::cut(numberText);
    Label5->setText(QStringLiteral("Sie haben  ") + ergebnisText() +
                    QStringLiteral("  Liter pro 100 km verbraucht !"));
    Dateneintrag();
    Command1->setText(QStringLiteral("&Nochmal"));
    Text1->setFocus();
}

void Tankverzehrsberechnung::refuseInput()
{
    toolkit::MessageBox::show(
        QStringLiteral("KIlometer- und Literangaben bestehen bekantlich nur aus Zahlen ODER ??") +
            QStringLiteral("\r\n") + QString(37, QLatin1Char(' ')) + QStringLiteral("Also nochmal !!"),
        QStringLiteral("Fehler"), toolkit::MessageBox::Icon::Information);
    Text1->clear();
    Text2->clear();
    Text1->setFocus();
}

void Tankverzehrsberechnung::nochmal()
{
    Text1->setText(QString());
    Text2->setText(QString());
    Label5->setText(keineDaten);
    Text1->setFocus();
    Command1->setText(berechnenCaption);
    Text1->setFocus();
}

QString Tankverzehrsberechnung::ergebnisText() const
{
    if (Ergebnis.typeId() == QMetaType::Double)
        return NumberText::text(Ergebnis.toDouble());
    return Ergebnis.toString();
}

void Tankverzehrsberechnung::Command2_Click()
{
    m_uebersicht.show(
        [this] {
            auto *uebersicht = new Uebersicht([this] { return Fahrzeug; });
            connect(uebersicht, &Uebersicht::bearbeitenRequested, this,
                    &Tankverzehrsberechnung::showBearbeiten1);
            return uebersicht;
        },
        this);
}

void Tankverzehrsberechnung::showBearbeiten1()
{
    m_gewaehlterEintrag = m_uebersicht.get()->Datensatznummer;
    m_bearbeiten1.show(
        [this] { return new Bearbeiten1([this] { return Fahrzeug; }, [this] { return datensatznummer(); }); },
        m_uebersicht.get());
}

QVariant Tankverzehrsberechnung::datensatznummer() const
{
    if (const Uebersicht *uebersicht = m_uebersicht.get())
        return uebersicht->Datensatznummer;
    return m_gewaehlterEintrag;
}

void Tankverzehrsberechnung::Dateneintrag()
{
    const QString Datum = toolkit::Clock::todayText();
    const QString Liter = Text1->text();
    const QString Kilometer = Text2->text();
    const QString Verbrauch = ergebnisText();

    logstore::Database database = logstore::Database::open(toolkit::ProgramDirectory::databasePath());
    logstore::Recordset rstTemp = database.openRecordset(Fahrzeug);
    AddName(rstTemp, Datum, Liter, Kilometer, Verbrauch);
}

void Tankverzehrsberechnung::AddName(logstore::Recordset &rstTemp, const QString &Datum, const QString &Liter,
                                     const QString &Kilometer, const QString &Verbrauch)
{
    rstTemp.addNew();
    rstTemp.setField(QStringLiteral("Datum"), Datum);
    rstTemp.setField(QStringLiteral("Gefahrene Kilometer"), Kilometer);
    rstTemp.setField(QStringLiteral("Getankte Liter"), Liter);
    rstTemp.setField(QStringLiteral("Verbrauch auf 100 km in Liter"), Verbrauch);
    rstTemp.update();
    rstTemp.setBookmark(rstTemp.lastModified());
}

void Tankverzehrsberechnung::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

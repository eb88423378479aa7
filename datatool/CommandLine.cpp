#include "CommandLine.h"

#include "Failure.h"
#include "LogNames.h"

#include <QDir>
#include <QHash>
#include <QSet>

namespace datatool {

namespace {

const QString programName = QStringLiteral("tankverzehr-daten");

struct CommandInfo {
    CommandLine::Command command;
    QSet<QString> options;
};

const QHash<QString, CommandInfo> &commands()
{
    static const QHash<QString, CommandInfo> known{
        {QStringLiteral("export"),
         {CommandLine::Command::Export,
          {QStringLiteral("--fahrzeug"), QStringLiteral("--ziel"), QStringLiteral("--trennzeichen")}}},
        {QStringLiteral("import"),
         {CommandLine::Command::Import,
          {QStringLiteral("--fahrzeug"), QStringLiteral("--probelauf"), QStringLiteral("--doppelte-zulassen"),
           QStringLiteral("--unplausible-zulassen")}}},
        {QStringLiteral("sichern"), {CommandLine::Command::Backup, {}}},
        {QStringLiteral("pruefen"), {CommandLine::Command::Check, {QStringLiteral("--ausfuehrlich")}}},
        {QStringLiteral("bericht"),
         {CommandLine::Command::Report,
          {QStringLiteral("--fahrzeug"), QStringLiteral("--ziel"), QStringLiteral("--anzeigen")}}},
        {QStringLiteral("hilfe"), {CommandLine::Command::Help, {}}},
    };
    return known;
}

const QSet<QString> &optionsWithValue()
{
    static const QSet<QString> names{QStringLiteral("--log"), QStringLiteral("--fahrzeug"),
                                     QStringLiteral("--ziel"), QStringLiteral("--trennzeichen")};
    return names;
}

const QSet<QString> &flags()
{
    static const QSet<QString> names{QStringLiteral("--probelauf"),
                                     QStringLiteral("--doppelte-zulassen"),
                                     QStringLiteral("--unplausible-zulassen"),
                                     QStringLiteral("--anzeigen"),
                                     QStringLiteral("--benachrichtigen"),
                                     QStringLiteral("--ausfuehrlich")};
    return names;
}

bool isHelp(const QString &argument)
{
    return argument == QLatin1String("-h") || argument == QLatin1String("--help") ||
           argument == QLatin1String("--hilfe");
}

core::Failure usage(const QString &problem)
{
    return core::Failure(
        problem + QStringLiteral("\nAufruf: %1 BEFEHL [OPTIONEN]; mehr mit: %1 hilfe").arg(programName));
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QString commandName;
    QStringList positionals;
    QHash<QString, QString> values;
    QSet<QString> given;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (isHelp(argument))
            return CommandLine{};
        if (!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("--")) {
            if (commandName.isEmpty())
                commandName = argument;
            else
                positionals << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (optionsWithValue().contains(name)) {
            QString value;
            if (equals >= 0)
                value = argument.mid(equals + 1);
            else if (i + 1 < arguments.size())
                value = arguments.at(++i);
            else
                throw usage(QStringLiteral("Nach %1 fehlt der Wert.").arg(name));
            if (given.contains(name))
                throw usage(QStringLiteral("Die Option %1 ist doppelt angegeben.").arg(name));
            values.insert(name, value);
        } else if (flags().contains(name) && equals < 0) {
            if (given.contains(name))
                throw usage(QStringLiteral("Die Option %1 ist doppelt angegeben.").arg(name));
        } else {
            throw usage(QStringLiteral("Die Option \"%1\" gibt es nicht.").arg(argument));
        }
        given.insert(name);
    }

    if (commandName.isEmpty())
        throw usage(QStringLiteral("Es fehlt der Befehl (export, import, sichern, pruefen oder bericht)."));
    const auto found = commands().constFind(commandName);
    if (found == commands().constEnd())
        throw usage(QStringLiteral("Den Befehl \"%1\" gibt es nicht.").arg(commandName));
    line.command = found->command;

    for (const QString &name : std::as_const(given)) {
        const bool global = name == QLatin1String("--log") || name == QLatin1String("--benachrichtigen");
        if (!global && !found->options.contains(name))
            throw usage(QStringLiteral("Die Option %1 gibt es für \"%2\" nicht.").arg(name, commandName));
    }

    const qsizetype allowedPositionals =
        line.command == Command::Import || line.command == Command::Backup ? 1 : 0;
    if (positionals.size() > allowedPositionals)
        throw usage(QStringLiteral("Unerwartetes Argument \"%1\".").arg(positionals.at(allowedPositionals)));
    if (line.command == Command::Import) {
        if (positionals.isEmpty())
            throw usage(QStringLiteral("Es fehlt die Datei, die eingelesen werden soll."));
        line.file = positionals.first();
        if (!given.contains(QStringLiteral("--fahrzeug")))
            throw usage(QStringLiteral(
                "Beim Einlesen muss --fahrzeug Auto oder --fahrzeug Motorrad angegeben werden."));
    }
    if (line.command == Command::Backup && !positionals.isEmpty())
        line.target = positionals.first();

    line.log = values.value(QStringLiteral("--log"));
    if (given.contains(QStringLiteral("--log")) && line.log.isEmpty())
        throw usage(QStringLiteral("Nach --log fehlt der Pfad der Datenbank."));
    const QString vehicle = values.value(QStringLiteral("--fahrzeug"), QStringLiteral("Auto"));
    for (const QString &table : core::LogNames::tables()) {
        if (table.compare(vehicle, Qt::CaseInsensitive) == 0)
            line.vehicle = table;
    }
    if (line.vehicle.isEmpty())
        throw usage(QStringLiteral("Das Fahrzeug \"%1\" gibt es nicht: erlaubt sind Auto und Motorrad.")
                        .arg(vehicle));
    if (given.contains(QStringLiteral("--ziel"))) {
        line.target = values.value(QStringLiteral("--ziel"));
        if (line.target.isEmpty())
            throw usage(QStringLiteral("Nach --ziel fehlt der Dateiname."));
    }
    const QString separator = values.value(QStringLiteral("--trennzeichen"), QStringLiteral(";"));
    if (separator != QLatin1String(";") && separator != QLatin1String(","))
        throw usage(QStringLiteral("Als Trennzeichen gibt es nur ';' und ','."));
    line.separator = separator == QLatin1String(";") ? ';' : ',';
    line.dryRun = given.contains(QStringLiteral("--probelauf"));
    line.allowDuplicates = given.contains(QStringLiteral("--doppelte-zulassen"));
    line.takeImplausible = given.contains(QStringLiteral("--unplausible-zulassen"));
    line.verbose = given.contains(QStringLiteral("--ausfuehrlich"));
    line.show = given.contains(QStringLiteral("--anzeigen"));
    line.notify = given.contains(QStringLiteral("--benachrichtigen"));
    return line;
}

QString CommandLine::logPath(const QString &programFolder) const
{
    return log.isEmpty() ? QDir(programFolder).filePath(QStringLiteral("Verbrauch.mdb")) : log;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
               "%1 – das Verbrauchslog \"Verbrauch.mdb\" aus- und einlesen, sichern, prüfen und als Bericht "
               "zeigen\n"
               "\n"
               "Aufruf: %1 BEFEHL [OPTIONEN]\n"
               "\n"
               "Befehle:\n"
               "  export [--fahrzeug Auto|Motorrad] [--ziel DATEI] [--trennzeichen ';'|',']\n"
               "      Schreibt das Log des Fahrzeugs (Vorgabe: Auto) in gespeicherter Reihenfolge als "
               "CSV-Datei,\n"
               "      ohne --ziel auf die Standardausgabe. Mit ';' (Vorgabe): Dezimalkomma, UTF-8 mit BOM, "
               "für\n"
               "      Tabellenkalkulationen mit deutschen Einstellungen; mit ',': Dezimalpunkt, UTF-8 ohne "
               "BOM.\n"
               "  import DATEI --fahrzeug Auto|Motorrad [--probelauf] [--doppelte-zulassen] "
               "[--unplausible-zulassen]\n"
               "      Hängt die Zeilen einer CSV-Datei an das Log an: alle oder keine. Liest die Ausgabe von "
               "export,\n"
               "      Dateien aus Tabellenkalkulationen (';' oder Tabulator; UTF-8, Windows-1252 oder "
               "UTF-16)\n"
               "      und die Ausgabe von mdb-export. Die erste Zeile nennt die Felder: Datum, Gefahrene\n"
               "      Kilometer, Getankte Liter, Verbrauch auf 100 km in Liter; weitere Spalten werden\n"
               "      nicht übernommen. Ein leerer Verbrauch wird berechnet. Datum: TT.MM.JJJJ, auch "
               "TT.MM.JJ\n"
               "      (20JJ, oder 19JJ, wo 20JJ nach diesem Jahr läge) und mit der Uhrzeit 00:00:00.\n"
               "      Zahlen in Dateien mit ';': Dezimalkomma (45,5), der Punkt nur zwischen "
               "Tausendergruppen\n"
               "      (1.234,5). In Dateien mit ',': Dezimalpunkt (45.5) ohne Tausendertrennung; ein Komma "
               "ohne\n"
               "      Punkt gilt dort auch als Dezimalkomma.\n"
               "      --probelauf             prüft alles und zeigt, was gespeichert würde, ohne zu "
               "speichern\n"
               "      --doppelte-zulassen     speichert auch Zeilen, die es im Log schon gibt (Datum, "
               "Kilometer, Liter)\n"
               "      --unplausible-zulassen  speichert auch unplausible Tankungen (mehr als 3000 km oder\n"
               "                              300 Liter, unter 1 oder über 60 Liter pro 100 km, ein "
               "Verbrauch,\n"
               "                              der nicht zu Litern und Kilometern passt) und zählt sie\n"
               "  sichern [ZIEL]\n"
               "      Legt eine geprüfte Kopie des Logs an, auch während das Programm es offen hat; ohne "
               "ZIEL als\n"
               "      Verbrauch-JJJJ-MM-TT.mdb neben dem Log. Eine vorhandene Datei wird nie überschrieben.\n"
               "  pruefen [--ausfuehrlich]\n"
               "      Prüft die Datei, ihre Tabellen, Felder und Abfragen und jeden gespeicherten Wert; "
               "jedes\n"
               "      Problem steht auf einer Zeile, unplausible Tankungen als Warnung. --ausfuehrlich "
               "zeigt\n"
               "      dazu die Meldungen der Datenbank.\n"
               "  bericht [--fahrzeug Auto|Motorrad] [--ziel DATEI.pdf] [--anzeigen]\n"
               "      Schreibt einen PDF-Bericht (A4): Summen und Durchschnitt, Verbrauch je Tankung mit\n"
               "      gleitendem Durchschnitt, eine Tabelle je Jahr und der letzten zwölf Monate, die beste "
               "und\n"
               "      die schlechteste Tankung. Ohne --ziel in den Ordner Dokumente.\n"
               "      --anzeigen öffnet ihn danach mit dem Betrachter des Desktops.\n"
               "  hilfe\n"
               "      Zeigt diesen Text.\n"
               "\n"
               "Für alle Befehle:\n"
               "  --log PFAD           das Log an PFAD statt Verbrauch.mdb neben dem Programm (wird nie "
               "angelegt)\n"
               "  --benachrichtigen    meldet das Ergebnis zusätzlich als Benachrichtigung auf dem Desktop\n"
               "\n"
               "Rückgabewert: 0 bei Erfolg, 1 wenn etwas abgelehnt wurde oder fehlschlug (bei pruefen: "
               "Probleme\n"
               "gefunden), 2 bei einem falschen Aufruf.\n")
        .arg(programName);
}

} // namespace datatool

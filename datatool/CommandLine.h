// The command line of tankverzehr-daten: one command (export, import, sichern, pruefen, bericht,
// hilfe) with its options, all in German. Parsing only: what a command does lives in its own class.
#pragma once

#include <QString>
#include <QStringList>

namespace datatool {

class CommandLine {
public:
    enum class Command { Help, Export, Import, Backup, Check, Report };

    // The arguments without the program name. Throws core::Failure with a German message for an
    // unknown command or option, a missing or wrong value, or a required option left out.
    static CommandLine parse(const QStringList &arguments);

    static QString helpText();

    // The log beside the program unless --log names another file.
    QString logPath(const QString &programFolder) const;

    Command command = Command::Help;
    QString log;                  // --log
    QString vehicle;              // --fahrzeug in any case, as "Auto" or "Motorrad"
    QString target;               // --ziel, or the target of sichern
    QString file;                 // the file to import
    char separator = ';';         // --trennzeichen
    bool dryRun = false;          // --probelauf
    bool allowDuplicates = false; // --doppelte-zulassen
    bool takeImplausible = false; // --unplausible-zulassen
    bool verbose = false;         // --ausfuehrlich
    bool show = false;            // --anzeigen
    bool notify = false;          // --benachrichtigen
};

} // namespace datatool

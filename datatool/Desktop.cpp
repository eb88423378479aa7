#include "Desktop.h"

#include <Failure.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>
#endif

QString Desktop::documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        throw core::Failure(
            QStringLiteral("Der Ordner für Dokumente lässt sich nicht anlegen: \"%1\".").arg(folder));
    return folder;
}

#ifdef Q_OS_WIN
void Desktop::open(const QString &path)
{
    // Windows opens the file with the program the user has for its type.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, L"open", reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()), nullptr,
        nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        throw core::Failure(
            QStringLiteral("Der Betrachter lässt sich nicht starten; die Datei liegt in \"%1\".").arg(path));
}
#else
void Desktop::open(const QString &path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        throw core::Failure(
            QStringLiteral(
                "Zum Anzeigen fehlt das Programm xdg-open (Paket xdg-utils); die Datei liegt in \"%1\".")
                .arg(path));
    if (!QProcess::startDetached(opener, {path}))
        throw core::Failure(
            QStringLiteral("Der Betrachter lässt sich nicht starten; die Datei liegt in \"%1\".").arg(path));
}
#endif

void Desktop::notify(const QString &message, bool failed)
{
    const QString notifier = QStandardPaths::findExecutable(QStringLiteral("notify-send"));
    if (notifier.isEmpty())
        return;
    QStringList arguments{QStringLiteral("--app-name=Tankverzehr")};
    if (failed)
        arguments << QStringLiteral("--urgency=critical");
    arguments << (failed ? QStringLiteral("Tankverzehr: fehlgeschlagen") : QStringLiteral("Tankverzehr"))
              << message;
    QProcess::startDetached(notifier, arguments);
}

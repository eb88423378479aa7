#include "Desktop.h"

#include "Failure.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>
#endif

namespace datatool {

QString Desktop::documentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // Without a documents folder of the desktop's (XDG user dirs) Qt answers ~/Documents; a German
    // desktop calls it Dokumente.
    if (!hasXdgDocuments() && QLocale::system().language() == QLocale::German)
        folder = QDir::home().filePath(QStringLiteral("Dokumente"));
    if (folder.isEmpty() || !QDir().mkpath(folder))
        throw core::Failure(
            QStringLiteral("Der Ordner für Dokumente lässt sich nicht anlegen: \"%1\".").arg(folder));
    return folder;
}

bool Desktop::hasXdgDocuments()
{
    QFile userDirs(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                       .filePath(QStringLiteral("user-dirs.dirs")));
    if (!userDirs.open(QIODevice::ReadOnly))
        return false;
    while (!userDirs.atEnd()) {
        if (userDirs.readLine().trimmed().startsWith("XDG_DOCUMENTS_DIR="))
            return true;
    }
    return false;
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
    // xdg-open hands the file to the desktop's viewer and ends at once, with its own exit code when
    // no viewer could be found or started (its reason in English goes to standard error). Some
    // desktops keep it running as long as the viewer; after a moment it is left to run on, kept
    // in a variable that outlives the tool's own end so that nothing stops it.
    static QProcess *viewer = nullptr;
    viewer = new QProcess;
    viewer->setStandardOutputFile(QProcess::nullDevice());
    viewer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    viewer->start(opener, {path});
    if (!viewer->waitForStarted())
        throw core::Failure(
            QStringLiteral("Der Betrachter lässt sich nicht starten; die Datei liegt in \"%1\".").arg(path));
    if (viewer->waitForFinished(3000) &&
        (viewer->exitStatus() != QProcess::NormalExit || viewer->exitCode() != 0))
        throw core::Failure(
            QStringLiteral("Kein Programm zum Anzeigen gefunden, oder es ließ sich nicht starten "
                           "(xdg-open meldet %1); die Datei liegt in \"%2\".")
                .arg(viewer->exitCode())
                .arg(path));
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

} // namespace datatool

// Starts the program with its main window; closing the main window ends it with all its windows.
#include "CalculatorWindow.h"
#include "Translations.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would print a stack of plugin errors and abort; one clear line is kinder.
bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fputs("Tankverzehr: Keine grafische Anzeige gefunden (DISPLAY ist nicht gesetzt); "
                   "das Programm braucht einen Bildschirm.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tankverzehr"));
    toolkit::Translations::installGerman(&app);

    calculator::CalculatorWindow window;
    QObject::connect(&window, &calculator::CalculatorWindow::closed, &app, &QCoreApplication::quit);
    window.show();
    return app.exec();
}

#include "SystemError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace core {

QString SystemError::reason(int error)
{
    std::fprintf(stderr, "Tankverzehr: the system reports: %s (errno %d)\n", std::strerror(error), error);
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Der Datenträger ist voll.");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Der Ihnen zugeteilte Speicherplatz ist aufgebraucht.");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("Der Zugriff ist nicht erlaubt.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt eingebunden.");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner wurde nicht gefunden.");
    case EPIPE:
        return QStringLiteral("Der Empfänger der Ausgabe hat die Verbindung geschlossen.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(error);
    }
}

} // namespace core

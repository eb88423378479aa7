#include "LogNames.h"

#include <Failure.h>

namespace logstore {

const QStringList &LogNames::tables()
{
    static const QStringList names{QStringLiteral("Auto"), QStringLiteral("Motorrad")};
    return names;
}

const QStringList &LogNames::views()
{
    static const QStringList names{QStringLiteral("Autogesamt"), QStringLiteral("Motorradgesamt")};
    return names;
}

const QStringList &LogNames::fields()
{
    static const QStringList names{QStringLiteral("Datum"), QStringLiteral("Gefahrene Kilometer"),
                                   QStringLiteral("Getankte Liter"),
                                   QStringLiteral("Verbrauch auf 100 km in Liter")};
    return names;
}

QString LogNames::quoted(const QString &name)
{
    // Case-sensitive on purpose: "auto" is not a name of ours.
    if (!tables().contains(name) && !views().contains(name) && !fields().contains(name))
        throw toolkit::Failure(QStringLiteral("\"%1\" ist kein Name der Verbrauchsdatenbank.").arg(name));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

bool LogNames::isTable(const QString &name)
{
    return tables().contains(name);
}

bool LogNames::isView(const QString &name)
{
    return views().contains(name);
}

QString LogNames::tableOf(const QString &view)
{
    const qsizetype index = views().indexOf(view);
    if (index < 0)
        throw toolkit::Failure(QStringLiteral("\"%1\" ist keine Abfrage der Verbrauchsdatenbank.").arg(view));
    return tables().at(index);
}

} // namespace logstore

#include "LogNames.h"

#include "Failure.h"

#include <QDir>

namespace core {

QString LogNames::fileName()
{
    return QStringLiteral("Verbrauch.mdb");
}

QString LogNames::pathIn(const QString &folder)
{
    return QDir(folder).filePath(fileName());
}

QString LogNames::car()
{
    return QStringLiteral("Auto");
}

QString LogNames::motorcycle()
{
    return QStringLiteral("Motorrad");
}

const QStringList &LogNames::tables()
{
    static const QStringList names{car(), motorcycle()};
    return names;
}

const QStringList &LogNames::views()
{
    static const QStringList names{QStringLiteral("Autogesamt"), QStringLiteral("Motorradgesamt")};
    return names;
}

QString LogNames::summaryOf(const QString &vehicle)
{
    return vehicle == car() ? views().at(0) : views().at(1);
}

QString LogNames::tableOf(const QString &view)
{
    const qsizetype index = views().indexOf(view);
    if (index < 0)
        throw Failure(QStringLiteral("\"%1\" ist keine Abfrage der Verbrauchsdatenbank.").arg(view));
    return tables().at(index);
}

QString LogNames::date()
{
    return QStringLiteral("Datum");
}

QString LogNames::kilometres()
{
    return QStringLiteral("Gefahrene Kilometer");
}

QString LogNames::litres()
{
    return QStringLiteral("Getankte Liter");
}

QString LogNames::consumption()
{
    return QStringLiteral("Verbrauch auf 100 km in Liter");
}

const QStringList &LogNames::fields()
{
    static const QStringList names{date(), kilometres(), litres(), consumption()};
    return names;
}

QString LogNames::quoted(const QString &name)
{
    // Case-sensitive on purpose: "auto" is not a name of ours.
    if (!tables().contains(name) && !views().contains(name) && !fields().contains(name))
        throw Failure(QStringLiteral("\"%1\" ist kein Name der Verbrauchsdatenbank.").arg(name));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString LogNames::quotedFields()
{
    QStringList columns;
    for (const QString &field : fields())
        columns << quoted(field);
    return columns.join(QStringLiteral(", "));
}

bool LogNames::isTable(const QString &name)
{
    return tables().contains(name);
}

bool LogNames::isView(const QString &name)
{
    return views().contains(name);
}

} // namespace core

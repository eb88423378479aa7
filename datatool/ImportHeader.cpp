#include "ImportHeader.h"

#include "Failure.h"
#include "LogNames.h"

namespace {

QString allowed()
{
    return core::LogNames::fields().join(QStringLiteral(", "));
}

} // namespace

ImportHeader::ImportHeader(const QStringList &names) : m_columns(names.size())
{
    const QStringList &fields = core::LogNames::fields();
    m_columnOf.fill(-1);
    for (qsizetype column = 0; column < names.size(); ++column) {
        const QString name = names.at(column).trimmed();
        const qsizetype field = fields.indexOf(name);
        if (field < 0)
            throw core::Failure(QStringLiteral("Zeile 1: die Kopfzeile nennt das unbekannte Feld \"%1\". Sie "
                                               "muss genau diese Felder nennen: %2.")
                                    .arg(name, allowed()));
        if (m_columnOf[static_cast<size_t>(field)] >= 0)
            throw core::Failure(
                QStringLiteral("Zeile 1: die Kopfzeile nennt das Feld \"%1\" zweimal.").arg(name));
        m_columnOf[static_cast<size_t>(field)] = column;
    }
    for (qsizetype field = 0; field < fields.size(); ++field) {
        if (m_columnOf[static_cast<size_t>(field)] < 0)
            throw core::Failure(QStringLiteral("Zeile 1: in der Kopfzeile fehlt das Feld \"%1\". Sie muss "
                                               "genau diese Felder nennen: %2.")
                                    .arg(fields.at(field), allowed()));
    }
}

QStringList ImportHeader::inLogOrder(const QStringList &row) const
{
    QStringList ordered;
    ordered.reserve(4);
    for (const qsizetype column : m_columnOf)
        ordered << row.at(column);
    return ordered;
}

#include "ImportHeader.h"

#include "Failure.h"
#include "LogNames.h"

#include <algorithm>

namespace datatool {

namespace {

QString allowed()
{
    return core::LogNames::fields().join(QStringLiteral(", "));
}

} // namespace

ImportHeader::ImportHeader(const QStringList &names) : m_used(names.size(), false)
{
    const QStringList &fields = core::LogNames::fields();
    m_columnOf.fill(-1);
    for (const QString &name : names)
        m_names << name.trimmed();
    for (qsizetype column = 0; column < m_names.size(); ++column) {
        const auto found = std::find_if(fields.begin(), fields.end(), [&](const QString &field) {
            return field.compare(m_names.at(column), Qt::CaseInsensitive) == 0;
        });
        if (found == fields.end())
            continue;
        const qsizetype field = found - fields.begin();
        if (m_columnOf[static_cast<size_t>(field)] >= 0)
            throw core::Failure(QStringLiteral("Zeile 1: die Kopfzeile nennt das Feld \"%1\" zweimal.")
                                    .arg(fields.at(field)));
        m_columnOf[static_cast<size_t>(field)] = column;
    }
    for (qsizetype column = 0; column < m_names.size(); ++column) {
        if (std::find(m_columnOf.begin(), m_columnOf.end(), column) == m_columnOf.end())
            m_leftOut << column;
    }
    for (qsizetype field = 0; field < fields.size(); ++field) {
        if (m_columnOf[static_cast<size_t>(field)] < 0)
            throw core::Failure(QStringLiteral("Zeile 1: in der Kopfzeile fehlt das Feld \"%1\". Sie muss "
                                               "diese Felder nennen: %2.")
                                    .arg(fields.at(field), allowed()));
    }
}

const QStringList &ImportHeader::inLogOrder(qint64 line, const QStringList &row)
{
    const auto wrongLength = [&] {
        return core::Failure(QStringLiteral("Zeile %1 hat %2 Felder, die Kopfzeile aber %3.")
                                 .arg(line)
                                 .arg(row.size())
                                 .arg(m_names.size()));
    };
    for (qsizetype column = m_names.size(); column < row.size(); ++column) {
        if (!row.at(column).trimmed().isEmpty())
            throw wrongLength();
    }
    for (const qsizetype column : std::as_const(m_leftOut)) {
        if (column < row.size() && !m_used.at(column) && !row.at(column).trimmed().isEmpty())
            m_used[column] = true;
    }
    m_ordered.clear();
    for (const qsizetype column : m_columnOf) {
        if (column >= row.size())
            throw wrongLength();
        m_ordered << row.at(column);
    }
    return m_ordered;
}

QStringList ImportHeader::leftOut() const
{
    QStringList columns;
    for (const qsizetype column : m_leftOut) {
        if (!m_names.at(column).isEmpty())
            columns << QStringLiteral("»%1«").arg(m_names.at(column));
        else if (m_used.at(column))
            columns << QStringLiteral("%1 (ohne Überschrift)").arg(column + 1);
    }
    return columns;
}

} // namespace datatool

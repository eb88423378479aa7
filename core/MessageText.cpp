#include "MessageText.h"

namespace core {

QString MessageText::entries(qint64 count)
{
    return count == 1 ? QStringLiteral("1 Eintrag") : QStringLiteral("%1 Einträge").arg(count);
}

QStringList MessageText::lines(const QString &message)
{
    return message.split(QStringLiteral("\r\n"));
}

} // namespace core

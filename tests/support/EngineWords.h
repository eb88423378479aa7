// The English words of the database engine's and Qt's own messages. None of them may reach a
// message the user sees; a test strips the file's path from a message before it looks.
#pragma once

#include <QRegularExpression>
#include <QString>

inline bool hasEngineWords(const QString &message)
{
    static const QRegularExpression words(
        QStringLiteral("\\b(table|column|unable|statement|fetch|row|no such|constraint|failed|overflow|"
                       "database|disk|malformed|locked|error|file)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(message).hasMatch();
}

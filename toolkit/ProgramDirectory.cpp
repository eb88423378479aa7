#include "ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace toolkit {

namespace {
QString &overridePath()
{
    static QString p;
    return p;
}
} // namespace

QString ProgramDirectory::path()
{
    const QString dir = overridePath().isEmpty() ? QCoreApplication::applicationDirPath() : overridePath();
    return QDir::cleanPath(dir);
}

void ProgramDirectory::setOverride(const QString &folder)
{
    overridePath() = folder;
}

} // namespace toolkit

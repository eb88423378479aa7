#include "NewFile.h"

#include "Failure.h"

#include <QDir>
#include <QFileInfo>

NewFile::NewFile(const QString &target) : m_target(QFileInfo(target).absoluteFilePath())
{
    const QFileInfo info(m_target);
    if (info.exists() || info.isSymLink())
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es schon; sie wird nicht überschrieben.").arg(target));
    if (!info.absoluteDir().exists())
        throw core::Failure(QStringLiteral("Den Ordner \"%1\" gibt es nicht.").arg(info.absolutePath()));
    m_temporary.setFileTemplate(
        info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    if (!m_temporary.open())
        throw core::Failure(QStringLiteral("In den Ordner \"%1\" lässt sich nicht schreiben: %2")
                                .arg(info.absolutePath(), m_temporary.errorString()));
}

NewFile::~NewFile() = default;

QString NewFile::temporaryPath()
{
    m_temporary.close();
    return m_temporary.fileName();
}

void NewFile::commit()
{
    if (m_temporary.isOpen() && !m_temporary.flush())
        throw core::Failure(QStringLiteral("Die Datei \"%1\" lässt sich nicht schreiben: %2")
                                .arg(m_target, m_temporary.errorString()));
    m_temporary.close();
    // A temporary file is private to its owner; the finished file gets the usual permissions.
    QFile::setPermissions(m_temporary.fileName(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFileInfo::exists(m_target))
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es inzwischen; sie wird nicht überschrieben.")
                .arg(m_target));
    // QFile::rename never replaces an existing file.
    if (!QFile::rename(m_temporary.fileName(), m_target))
        throw core::Failure(QStringLiteral("Die Datei \"%1\" lässt sich nicht anlegen.").arg(m_target));
    m_temporary.setAutoRemove(false);
}

QString NewFile::firstFree(const QString &base, const QString &suffix)
{
    QString candidate = base + suffix;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
    return candidate;
}

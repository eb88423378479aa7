#include "NewFile.h"

#include "OutputDevice.h"

#include "Failure.h"
#include "SystemError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

namespace datatool {

namespace {

// The temporary name: hidden, the target's name, and a marker no other program uses.
const QString marker = QStringLiteral(".tankverzehr-");
const QString journal = QStringLiteral("-journal");

const QRegularExpression &leftoverName()
{
    static const QRegularExpression name(QStringLiteral("^\\..+\\.tankverzehr-[A-Za-z0-9]{6}(-journal)?$"));
    return name;
}

} // namespace

// The target as the system writes paths, so that messages show it the way the user knows it.
NewFile::NewFile(const QString &target)
    : m_target(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()))
{
    const QFileInfo info(m_target);
    if (info.exists() || info.isSymLink())
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es schon; sie wird nicht überschrieben.").arg(target));
    if (!info.absoluteDir().exists())
        throw core::Failure(QStringLiteral("Den Ordner \"%1\" gibt es nicht.").arg(info.absolutePath()));
    removeLeftovers(info.absolutePath());
    if (const int error =
            m_file.create(info.absoluteDir().filePath(QStringLiteral(".%1%2").arg(info.fileName(), marker)));
        error != 0)
        throw core::Failure(QStringLiteral("In den Ordner \"%1\" lässt sich nicht schreiben. %2")
                                .arg(info.absolutePath(), core::SystemError::reason(error)));
    m_temporary = m_file.path();
    m_device =
        std::make_unique<OutputDevice>(m_file.descriptor(), QStringLiteral("Die Datei \"%1\"").arg(m_target));
}

NewFile::~NewFile()
{
    if (m_file.descriptor() >= 0)
        removeTemporary();
}

QIODevice &NewFile::device()
{
    return *m_device;
}

void NewFile::removeTemporary()
{
    m_file.remove();
    TemporaryFile::removeFile(m_temporary + journal);
    m_file.close();
}

void NewFile::fail(int error)
{
    removeTemporary();
    throw core::Failure(OutputDevice::message(QStringLiteral("Die Datei \"%1\"").arg(m_target), error));
}

void NewFile::commit(const QByteArray &ending)
{
    if (m_device->failure() != 0)
        fail(m_device->failure());
    if (const int error = m_file.sync(); error != 0)
        fail(error);
    int error = 0;
    const qint64 size = m_file.size(error);
    if (size < 0)
        fail(error);
    // The disk holds what was written, and the file ends as its kind of file must.
    QByteArray end(ending.size() + 2, '\0');
    const qint64 tail = qMin<qint64>(size, end.size());
    const bool whole = (m_device->written() == 0 || size == m_device->written()) &&
                       (ending.isEmpty() || (m_file.readAt(end.data(), tail, size - tail) &&
                                             end.left(tail).trimmed().endsWith(ending)));
    if (!whole) {
        removeTemporary();
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" ist unvollständig geschrieben worden und wurde verworfen.")
                .arg(m_target));
    }
    const int moved = m_file.moveTo(m_target);
    if (moved == EEXIST) {
        removeTemporary();
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es inzwischen; sie wird nicht überschrieben.")
                .arg(m_target));
    }
    // A file moved into place but not known to be on the disk is not reported as written either:
    // it goes again.
    if (moved != 0)
        fail(moved);
    m_file.close();
}

void NewFile::removeLeftovers(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral(".*") + marker + QLatin1Char('*')},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!leftoverName().match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        if (name.endsWith(journal)) {
            // A journal whose file is gone is left of nothing.
            const QString file = path.chopped(journal.size());
            if (!QFileInfo::exists(file))
                TemporaryFile::removeFile(path);
            continue;
        }
        TemporaryFile::removeUnheld(path);
        if (!QFileInfo::exists(path))
            TemporaryFile::removeFile(path + journal);
    }
}

QString NewFile::firstFree(const QString &base, const QString &suffix)
{
    QString candidate = base + suffix;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
    return candidate;
}

} // namespace datatool

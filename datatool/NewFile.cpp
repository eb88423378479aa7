#include "NewFile.h"

#include "OutputDevice.h"

#include "Failure.h"
#include "SystemError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary name: hidden, the target's name, and a marker no other program uses.
const QString marker = QStringLiteral(".tankverzehr-");
const QString journal = QStringLiteral("-journal");

const QRegularExpression &leftoverName()
{
    static const QRegularExpression name(QStringLiteral("^\\..+\\.tankverzehr-[A-Za-z0-9]{6}(-journal)?$"));
    return name;
}

QByteArray local(const QString &path)
{
    return QFile::encodeName(path);
}

// Takes the lock of a temporary file; false while another run holds it.
bool lock(int descriptor)
{
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// Whether the file open at descriptor still has the name path.
bool stillNamed(int descriptor, const QString &path)
{
    struct stat open = {};
    struct stat named = {};
    return ::fstat(descriptor, &open) == 0 && open.st_nlink > 0 && ::lstat(local(path), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Syncs the folder's list of names, so that a rename survives a power cut. A file system that
// cannot sync a folder says so with EINVAL; there is nothing more to do there.
int syncFolder(const QString &folder)
{
    const int descriptor = ::open(local(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    const int error = ::fsync(descriptor) == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    return error;
}

// Gives temporary the name target unless target exists: a rename that replaces nothing, or,
// where the file system has none, a second name and the first one removed.
int moveWithoutReplacing(const QString &temporary, const QString &target)
{
    if (::renameat2(AT_FDCWD, local(temporary), AT_FDCWD, local(target), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (::link(local(temporary), local(target)) != 0)
        return errno;
    ::unlink(local(temporary));
    return 0;
}

} // namespace

NewFile::NewFile(const QString &target) : m_target(QFileInfo(target).absoluteFilePath())
{
    const QFileInfo info(m_target);
    if (info.exists() || info.isSymLink())
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es schon; sie wird nicht überschrieben.").arg(target));
    if (!info.absoluteDir().exists())
        throw core::Failure(QStringLiteral("Den Ordner \"%1\" gibt es nicht.").arg(info.absolutePath()));
    removeLeftovers(info.absolutePath());
    for (;;) {
        QByteArray name =
            local(info.absoluteDir().filePath(QStringLiteral(".%1%2XXXXXX").arg(info.fileName(), marker)));
        m_descriptor = ::mkostemp(name.data(), O_CLOEXEC);
        if (m_descriptor < 0)
            throw core::Failure(QStringLiteral("In den Ordner \"%1\" lässt sich nicht schreiben. %2")
                                    .arg(info.absolutePath(), core::SystemError::reason(errno)));
        m_temporary = QFile::decodeName(name);
        // Another run may have taken the new file for a leftover between its making and its
        // lock; then it is gone, and another one is made.
        if (lock(m_descriptor) && stillNamed(m_descriptor, m_temporary))
            break;
        ::close(m_descriptor);
    }
    m_device = std::make_unique<OutputDevice>(m_descriptor, QStringLiteral("Die Datei \"%1\"").arg(m_target));
}

NewFile::~NewFile()
{
    if (m_descriptor >= 0)
        removeTemporary();
}

QIODevice &NewFile::device()
{
    return *m_device;
}

void NewFile::removeTemporary()
{
    ::unlink(local(m_temporary));
    ::unlink(local(m_temporary + journal));
    ::close(m_descriptor);
    m_descriptor = -1;
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
    // A temporary file is private to its owner; the finished file gets the usual permissions.
    if (::fchmod(m_descriptor, 0644) != 0 || ::fsync(m_descriptor) != 0)
        fail(errno);
    struct stat written = {};
    if (::fstat(m_descriptor, &written) != 0)
        fail(errno);
    // The disk holds what was written, and the file ends as its kind of file must.
    QByteArray end(ending.size() + 2, '\0');
    const qint64 tail = qMin<qint64>(written.st_size, end.size());
    const bool whole =
        (m_device->written() == 0 || written.st_size == m_device->written()) &&
        (ending.isEmpty() || (::pread(m_descriptor, end.data(), tail, written.st_size - tail) == tail &&
                              end.left(tail).trimmed().endsWith(ending)));
    if (!whole) {
        removeTemporary();
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" ist unvollständig geschrieben worden und wurde verworfen.")
                .arg(m_target));
    }
    const int moved = moveWithoutReplacing(m_temporary, m_target);
    if (moved == EEXIST) {
        removeTemporary();
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es inzwischen; sie wird nicht überschrieben.")
                .arg(m_target));
    }
    if (moved != 0)
        fail(moved);
    if (const int error = syncFolder(QFileInfo(m_target).absolutePath()); error != 0) {
        // Not known to be on the disk: not reported as written either.
        ::unlink(local(m_target));
        fail(error);
    }
    ::close(m_descriptor);
    m_descriptor = -1;
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
                ::unlink(local(path));
            continue;
        }
        const int descriptor = ::open(local(path), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (descriptor < 0)
            continue;
        if (lock(descriptor) && stillNamed(descriptor, path)) {
            ::unlink(local(path));
            ::unlink(local(path + journal));
        }
        ::close(descriptor);
    }
}

QString NewFile::firstFree(const QString &base, const QString &suffix)
{
    QString candidate = base + suffix;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
    return candidate;
}

#include "TemporaryFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace datatool {

TemporaryFile::~TemporaryFile()
{
    close();
}

void TemporaryFile::remove()
{
    removeFile(m_path);
}

void TemporaryFile::close()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

#ifdef Q_OS_WIN

namespace {

// Six letters and digits, as a POSIX temporary name ends.
QString randomEnding()
{
    static const char characters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString ending;
    for (int i = 0; i < 6; ++i)
        ending += QLatin1Char(characters[QRandomGenerator::system()->bounded(int(sizeof characters) - 1)]);
    return ending;
}

const wchar_t *native(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

QString nativePath(const QString &path)
{
    QString native = path;
    native.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return native;
}

// Windows' error codes as the C library's error numbers, the words core::SystemError knows.
int errorNumber(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return EIO;
    }
}

int lastError()
{
    return errorNumber(GetLastError());
}

// The lock that marks a file as held: one byte far past any end the file will reach. Windows
// locks bind every other handle, so it must lie where nobody reads or writes.
constexpr DWORD heldByteHigh = 0x40000000;

bool lock(HANDLE file)
{
    OVERLAPPED at = {};
    at.OffsetHigh = heldByteHigh;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

// Whether path still names the file open as handle: a file marked for deletion by another run
// cannot be opened any more, and one already deleted is not found.
bool stillNamed(HANDLE handle, const QString &path)
{
    const HANDLE named = CreateFileW(native(path), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION open = {};
    BY_HANDLE_FILE_INFORMATION found = {};
    const bool same =
        GetFileInformationByHandle(handle, &open) && GetFileInformationByHandle(named, &found) &&
        open.dwVolumeSerialNumber == found.dwVolumeSerialNumber &&
        open.nFileIndexHigh == found.nFileIndexHigh && open.nFileIndexLow == found.nFileIndexLow;
    CloseHandle(named);
    return same;
}

} // namespace

int TemporaryFile::create(const QString &prefix)
{
    close();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString path = nativePath(prefix + randomEnding());
        // Shared for reading and writing, so that the database engine can write into it, and for
        // deletion and renaming, which the lock guards instead.
        const HANDLE file = CreateFileW(native(path), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            return errorNumber(error);
        }
        // Another run may have taken the new file for a leftover between its making and its
        // lock; then it is gone or going, and another one is made.
        if (!lock(file) || !stillNamed(file, path)) {
            CloseHandle(file);
            continue;
        }
        const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
        if (descriptor < 0) {
            DeleteFileW(native(path));
            CloseHandle(file);
            return EMFILE;
        }
        m_descriptor = descriptor;
        m_path = path;
        return 0;
    }
    return EEXIST;
}

int TemporaryFile::sync()
{
    const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(m_descriptor));
    return FlushFileBuffers(file) ? 0 : lastError();
}

qint64 TemporaryFile::size(int &error) const
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(reinterpret_cast<HANDLE>(_get_osfhandle(m_descriptor)), &size)) {
        error = lastError();
        return -1;
    }
    return size.QuadPart;
}

bool TemporaryFile::readAt(char *data, qint64 count, qint64 offset) const
{
    OVERLAPPED at = {};
    at.Offset = DWORD(offset & 0xFFFFFFFF);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD done = 0;
    return ReadFile(reinterpret_cast<HANDLE>(_get_osfhandle(m_descriptor)), data, DWORD(count), &done, &at) &&
           done == DWORD(count);
}

int TemporaryFile::moveTo(const QString &target)
{
    const QString path = nativePath(target);
    // Without MOVEFILE_REPLACE_EXISTING an existing file stays; the write-through waits until the
    // move is on the disk.
    if (!MoveFileExW(native(m_path), native(path), MOVEFILE_WRITE_THROUGH))
        return lastError();
    m_path = path;
    return 0;
}

void TemporaryFile::removeUnheld(const QString &path)
{
    const HANDLE file = CreateFileW(native(nativePath(path)), GENERIC_READ | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // The file held open here is deleted, whatever its name has become meanwhile.
    if (lock(file)) {
        FILE_DISPOSITION_INFO disposition = {};
        disposition.DeleteFile = TRUE;
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
    CloseHandle(file);
}

void TemporaryFile::removeFile(const QString &path)
{
    DeleteFileW(native(nativePath(path)));
}

#else

namespace {

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

} // namespace

int TemporaryFile::create(const QString &prefix)
{
    close();
    for (;;) {
        QByteArray name = local(prefix + QStringLiteral("XXXXXX"));
        const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
        if (descriptor < 0)
            return errno;
        const QString path = QFile::decodeName(name);
        // Another run may have taken the new file for a leftover between its making and its
        // lock; then it is gone, and another one is made.
        if (lock(descriptor) && stillNamed(descriptor, path)) {
            m_descriptor = descriptor;
            m_path = path;
            return 0;
        }
        ::close(descriptor);
    }
}

int TemporaryFile::sync()
{
    // A temporary file is private to its owner; the finished file gets the usual permissions.
    return ::fchmod(m_descriptor, 0644) == 0 && ::fsync(m_descriptor) == 0 ? 0 : errno;
}

qint64 TemporaryFile::size(int &error) const
{
    struct stat written = {};
    if (::fstat(m_descriptor, &written) != 0) {
        error = errno;
        return -1;
    }
    return written.st_size;
}

bool TemporaryFile::readAt(char *data, qint64 count, qint64 offset) const
{
    return ::pread(m_descriptor, data, count, offset) == count;
}

int TemporaryFile::moveTo(const QString &target)
{
    // A rename that replaces nothing, or, where the file system has none, a second name and the
    // first one removed.
    if (::renameat2(AT_FDCWD, local(m_path), AT_FDCWD, local(target), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        if (::link(local(m_path), local(target)) != 0)
            return errno;
        ::unlink(local(m_path));
    }
    m_path = target;
    // The folder's list of names is synced, so that the rename survives a power cut. A file
    // system that cannot sync a folder says so with EINVAL; there is nothing more to do there.
    const int folder = ::open(local(target.left(target.lastIndexOf(QLatin1Char('/')) + 1)),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return errno;
    const int error = ::fsync(folder) == 0 || errno == EINVAL ? 0 : errno;
    ::close(folder);
    return error;
}

void TemporaryFile::removeUnheld(const QString &path)
{
    const int descriptor = ::open(local(path), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0)
        return;
    if (lock(descriptor) && stillNamed(descriptor, path))
        ::unlink(local(path));
    ::close(descriptor);
}

void TemporaryFile::removeFile(const QString &path)
{
    ::unlink(local(path));
}

#endif

} // namespace datatool

#include "OutputDevice.h"

#include "SystemError.h"

#include <cerrno>
#include <unistd.h>

namespace datatool {

namespace {

struct Fault {
    qint64 limit = -1;
    int error = 0;
    qint64 passed = 0;
};

Fault &fault()
{
    static Fault planned;
    return planned;
}

// One write of at most size bytes as the system does it, or as the planned fault has it.
ssize_t writeSome(int descriptor, const char *data, qint64 size)
{
    Fault &planned = fault();
    if (planned.limit >= 0) {
        const qint64 room = planned.limit - planned.passed;
        if (room <= 0) {
            errno = planned.error;
            return -1;
        }
        size = qMin(size, room);
    }
    const ssize_t done = ::write(descriptor, data, static_cast<size_t>(size));
    if (done > 0)
        planned.passed += done;
    return done;
}

} // namespace

OutputDevice::OutputDevice(int descriptor, const QString &name, QObject *parent)
    : QIODevice(parent), m_descriptor(descriptor), m_name(name)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void OutputDevice::setFault(qint64 limit, int error)
{
    fault() = Fault{limit, error, 0};
}

QString OutputDevice::message(const QString &name, int error)
{
    return QStringLiteral("%1 lässt sich nicht schreiben. %2").arg(name, core::SystemError::reason(error));
}

qint64 OutputDevice::readData(char *, qint64)
{
    return -1;
}

qint64 OutputDevice::writeData(const char *data, qint64 size)
{
    // After a failure nothing more is written, so that no later part lands without an earlier one.
    if (m_failure != 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t now = writeSome(m_descriptor, data + done, size - done);
        if (now < 0 && errno == EINTR)
            continue;
        if (now <= 0) {
            m_failure = now < 0 ? errno : ENOSPC;
            setErrorString(message(m_name, m_failure));
            return -1;
        }
        done += now;
        m_written += now;
    }
    return done;
}

} // namespace datatool

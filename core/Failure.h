// A platform operation (database, arithmetic) that could not be carried out. Thrown by the
// layers below the windows and caught in one place, HandlerGuard, which tells the user
// and ends the event handler that ran into it.
#pragma once

#include <QString>
#include <exception>

namespace core {

class Failure : public std::exception {
public:
    explicit Failure(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    // The German sentence shown to the user.
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace core

// The operating system's error numbers in the user's words: one German reason for each, kept in
// this one place for the program and the data tool alike. The system's own English text goes to
// the standard error stream only, for whoever looks into a fault.
#pragma once

#include <QString>

namespace core {

class SystemError {
public:
    // The German reason for errno value error, such as "Der Datenträger ist voll."; an error
    // without a reason of its own reads "Systemfehler N.".
    static QString reason(int error);
};

} // namespace core

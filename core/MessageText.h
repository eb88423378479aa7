// Pieces of the program's German messages that several places say alike: a number of log
// entries, and the lines of a message, which the program writes with CR LF between them as
// the old program did.
#pragma once

#include <QString>
#include <QStringList>

namespace core {

class MessageText {
public:
    // "1 Eintrag", "2 Einträge", "0 Einträge".
    static QString entries(qint64 count);

    // The lines of a message written with CR LF between them, for a dialog or a terminal
    // (joined with a line feed) or one line of a list (joined with a blank).
    static QStringList lines(const QString &message);
};

} // namespace core

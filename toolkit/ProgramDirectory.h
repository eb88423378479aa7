// The folder the program runs from and the log database beside it. Tests point it at a
// temporary folder of their own.
#pragma once

#include <QString>

namespace toolkit {

class ProgramDirectory {
public:
    // Without a trailing separator.
    static QString path();
    // The log database "Verbrauch.mdb" in the program directory.
    static QString databasePath();

    // Tests: another folder; an empty path returns to the executable's folder.
    static void setOverride(const QString &folder);
};

} // namespace toolkit

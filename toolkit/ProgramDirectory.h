// The folder the program runs from, where its log lies. Tests point it at a temporary folder of
// their own.
#pragma once

#include <QString>

namespace toolkit {

class ProgramDirectory {
public:
    // Without a trailing separator.
    static QString path();

    // Tests: another folder; an empty path returns to the executable's folder.
    static void setOverride(const QString &folder);
};

} // namespace toolkit

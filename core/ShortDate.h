// A day as the program writes it: the German short date "dd.MM.yyyy", ten characters, whatever
// the system's locale says.
#pragma once

#include <QDate>
#include <QString>

namespace core {

class ShortDate {
public:
    static QString text(const QDate &date);
};

} // namespace core

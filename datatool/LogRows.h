// Reads a vehicle log row by row in stored order, the order in which the overview lists it, without
// keeping the rows: memory stays the same for any length of log.
#pragma once

#include "Connection.h"
#include "FieldValue.h"

#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>

namespace datatool {

class LogRows {
public:
    struct Entry {
        qint64 position = 0;            // 1 for the first row
        std::array<QVariant, 4> values; // in the order of the log's fields
        QString text(int field) const
        {
            return logstore::FieldValue::toText(values.at(static_cast<size_t>(field)));
        }
    };

    // Throws core::Failure when the table or one of its fields cannot be read.
    static void forEach(const logstore::Connection &connection, const QString &table,
                        const std::function<void(const Entry &)> &visit);

    // A stored number as it is, a text by the program's number reading; nothing for NULL or a
    // text that is no number.
    static std::optional<double> number(const QVariant &value);

    enum Field { Date = 0, Kilometres = 1, Litres = 2, Consumption = 3 };
};

} // namespace datatool

#include "LogExport.h"

#include "CsvNumber.h"
#include "CsvWriter.h"
#include "LogRows.h"
#include "NewFile.h"

#include "Connection.h"
#include "Failure.h"
#include "FieldValue.h"
#include "LogNames.h"

#include <QIODevice>
#include <memory>

namespace datatool {

qint64 LogExport::run(const QString &logPath, const QString &table, const QString &target, char separator,
                      QIODevice &standardOutput)
{
    const logstore::Connection connection(logPath);
    connection.requireTable(table);

    std::unique_ptr<NewFile> file;
    if (!target.isEmpty())
        file = std::make_unique<NewFile>(target);
    QIODevice &device = file ? file->device() : standardOutput;

    CsvWriter writer(device, separator);
    // Spreadsheets with German settings take a file with a byte-order mark as UTF-8.
    if (separator == ';')
        writer.writeBom();
    writer.writeRecord(core::LogNames::fields());
    qint64 count = 0;
    using logstore::FieldValue;
    const FieldValue::Notation numbers = CsvNumber::decimalSeparator(separator) == '.'
                                             ? FieldValue::Notation::ExactPoint
                                             : FieldValue::Notation::ExactComma;
    QStringList fields;
    LogRows::forEach(connection, table, [&](const LogRows::Entry &entry) {
        fields.clear();
        fields << FieldValue::toText(entry.values[LogRows::Date]);
        for (int i = LogRows::Kilometres; i <= LogRows::Consumption; ++i)
            fields << FieldValue::toText(entry.values[static_cast<size_t>(i)], numbers);
        writer.writeRecord(fields);
        ++count;
    });
    writer.flush();
    if (file)
        file->commit();
    return count;
}

} // namespace datatool

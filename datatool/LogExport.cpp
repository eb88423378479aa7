#include "LogExport.h"

#include "CsvNumber.h"
#include "CsvWriter.h"
#include "LogRows.h"
#include "NewFile.h"

#include "Connection.h"
#include "Failure.h"
#include "LogNames.h"

#include <QIODevice>
#include <memory>

namespace {

QString fieldText(const QVariant &value, char separator)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong ||
        value.typeId() == QMetaType::Int)
        return CsvNumber::text(value.toDouble(), separator);
    return LogRows::text(value);
}

} // namespace

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
    QStringList fields;
    LogRows::forEach(connection, table, [&](const LogRows::Entry &entry) {
        fields.clear();
        fields << LogRows::text(entry.values[LogRows::Date]);
        for (int i = LogRows::Kilometres; i <= LogRows::Consumption; ++i)
            fields << fieldText(entry.values[static_cast<size_t>(i)], separator);
        writer.writeRecord(fields);
        ++count;
    });
    writer.flush();
    if (file)
        file->commit();
    return count;
}

// Writes CSV records to a device: fields joined by the separator, quoted (with doubled quotes,
// through libcsv) only when they hold the separator, a quote or a line break; CR LF after each
// record as RFC 4180 has it. Buffered, so that writing many small records stays fast.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

namespace datatool {

class CsvWriter {
public:
    CsvWriter(QIODevice &device, char separator);
    ~CsvWriter();
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;

    void writeBom();
    // Throws core::Failure when the device refuses the bytes.
    void writeRecord(const QStringList &fields);
    void flush();

private:
    void appendField(const QString &field);

    QIODevice &m_device;
    char m_separator;
    QByteArray m_buffer;
};

} // namespace datatool

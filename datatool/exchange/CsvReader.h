// Reads a CSV file record by record with libcsv (RFC 4180: quoted fields, doubled quotes,
// separators and line breaks inside quotes, CR LF), streamed in blocks so that memory does not
// grow with the file. The separator (';', ',' or tab) is taken from the first line; each record
// comes with the number of the line it starts on. UTF-16 files are read as UTF-8.
#pragma once

#include "TextEncoding.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

struct csv_parser;

namespace datatool {

class CsvReader {
public:
    // Throws core::Failure when the file cannot be opened.
    CsvReader(const QString &path, TextEncoding::Kind encoding);
    ~CsvReader();
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    // Hands every record to visit, the header first, skipping empty lines. Throws
    // core::Failure naming the line for broken quoting or a record longer than
    // maxRecordBytes; whatever visit throws passes through.
    void read(const std::function<void(qint64 line, const QStringList &fields)> &visit);

    // ';', ',' or '\t'; known once read() has started.
    char separator() const { return m_separator; }

    static constexpr qsizetype maxRecordBytes = 1 << 20;

private:
    struct Record {
        qint64 line;
        QStringList fields;
    };

    static void fieldDone(void *data, size_t size, void *self);
    static void recordDone(int terminator, void *self);

    void feed(const char *data, qsizetype size,
              const std::function<void(qint64, const QStringList &)> &visit);
    // A whole line without quotes and with no CR before its end, split without the parser and
    // handed to visit.
    void visitPlainLine(const char *data, qsizetype size,
                        const std::function<void(qint64, const QStringList &)> &visit);
    void deliver(const std::function<void(qint64, const QStringList &)> &visit);
    [[noreturn]] void parseError() const;

    QString m_path;
    TextEncoding::Kind m_encoding;
    QFile m_file;
    QStringDecoder m_utf16;
    std::unique_ptr<csv_parser> m_parser;
    char m_separator = ';';
    qint64 m_line = 1;           // the line being fed
    qint64 m_recordLine = 1;     // the line the current record started on
    bool m_atRecordStart = true; // no byte of the next record fed yet
    qsizetype m_recordBytes = 0; // bytes fed since the current record started
    QStringList m_fields;
    std::deque<Record> m_done;
};

} // namespace datatool

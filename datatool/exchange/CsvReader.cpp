#include "CsvReader.h"

#include "Failure.h"

#include <csv.h>

#include <algorithm>
#include <cstring>

namespace datatool {

namespace {

constexpr qsizetype blockSize = 1 << 16;

bool isBlankLine(const char *data, qsizetype size)
{
    return std::all_of(data, data + size,
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

char separatorOf(QByteArrayView firstLine)
{
    const qsizetype semicolons = firstLine.count(';');
    const qsizetype commas = firstLine.count(',');
    const qsizetype tabs = firstLine.count('\t');
    if (tabs > semicolons && tabs > commas)
        return '\t';
    return commas > semicolons ? ',' : ';';
}

// A whole line without quotes, ending in LF or CR LF and with no other CR: what an export writes.
// Such a line needs no parser.
bool isPlainLine(const char *data, qsizetype size)
{
    if (size == 0 || data[size - 1] != '\n')
        return false;
    const qsizetype end = size > 1 && data[size - 2] == '\r' ? size - 2 : size - 1;
    return std::none_of(data, data + end, [](char c) { return c == '"' || c == '\r'; });
}

} // namespace

CsvReader::CsvReader(const QString &path, TextEncoding::Kind encoding)
    : m_path(path), m_encoding(encoding), m_file(path), m_parser(std::make_unique<csv_parser>())
{
    if (encoding == TextEncoding::Kind::Utf16LittleEndian || encoding == TextEncoding::Kind::Utf16BigEndian) {
        m_utf16 =
            QStringDecoder(encoding == TextEncoding::Kind::Utf16LittleEndian ? QStringConverter::Utf16LE
                                                                             : QStringConverter::Utf16BE);
        m_encoding = TextEncoding::Kind::Utf8;
    }
    if (!m_file.open(QIODevice::ReadOnly))
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" lässt sich nicht lesen: %2").arg(path, m_file.errorString()));
    if (csv_init(m_parser.get(), CSV_STRICT | CSV_STRICT_FINI) != 0)
        throw core::Failure(QStringLiteral("Zum Lesen der Datei fehlt der Speicher."));
}

CsvReader::~CsvReader()
{
    csv_free(m_parser.get());
}

void CsvReader::read(const std::function<void(qint64, const QStringList &)> &visit)
{
    QByteArray block(blockSize, Qt::Uninitialized);
    bool first = true;
    for (;;) {
        const qint64 size = m_file.read(block.data(), block.size());
        if (size < 0)
            throw core::Failure(QStringLiteral("Die Datei \"%1\" lässt sich nicht lesen: %2")
                                    .arg(m_path, m_file.errorString()));
        if (size == 0)
            break;
        QByteArrayView bytes(block.constData(), size);
        QByteArray utf8;
        if (m_utf16.isValid()) {
            utf8 = QString(m_utf16.decode(bytes)).toUtf8();
            bytes = utf8;
        }
        if (first) {
            if (bytes.startsWith(TextEncoding::utf8Bom()))
                bytes = bytes.sliced(TextEncoding::utf8Bom().size());
            const qsizetype lineEnd = bytes.indexOf('\n');
            m_separator = separatorOf(lineEnd < 0 ? bytes : bytes.first(lineEnd));
            csv_set_delim(m_parser.get(), static_cast<unsigned char>(m_separator));
            first = false;
        }
        // Fed up to each line break, so that every record knows the line it starts on.
        while (!bytes.isEmpty()) {
            const qsizetype lineEnd = bytes.indexOf('\n');
            const qsizetype piece = lineEnd < 0 ? bytes.size() : lineEnd + 1;
            feed(bytes.data(), piece, visit);
            if (lineEnd >= 0)
                ++m_line;
            bytes = bytes.sliced(piece);
        }
    }
    if (csv_fini(m_parser.get(), &CsvReader::fieldDone, &CsvReader::recordDone, this) != 0)
        throw core::Failure(
            QStringLiteral("Zeile %1: ein Anführungszeichen wird bis zum Ende der Datei nicht geschlossen.")
                .arg(m_recordLine));
    deliver(visit);
}

void CsvReader::feed(const char *data, qsizetype size,
                     const std::function<void(qint64, const QStringList &)> &visit)
{
    const bool startsRecord = m_atRecordStart && !isBlankLine(data, size);
    if (startsRecord && isPlainLine(data, size)) {
        visitPlainLine(data, size, visit);
        return;
    }
    if (startsRecord) {
        m_atRecordStart = false;
        m_recordLine = m_line;
        m_recordBytes = 0;
    }
    m_recordBytes += size;
    if (!m_atRecordStart && m_recordBytes > maxRecordBytes)
        throw core::Failure(
            QStringLiteral(
                "Zeile %1: der Eintrag ist länger als 1 MB. Ist \"%2\" wirklich eine CSV-Datei mit "
                "Tankungen?")
                .arg(m_recordLine)
                .arg(m_path));
    const size_t parsed = csv_parse(m_parser.get(), data, static_cast<size_t>(size), &CsvReader::fieldDone,
                                    &CsvReader::recordDone, this);
    if (parsed != static_cast<size_t>(size))
        parseError();
    deliver(visit);
}

void CsvReader::visitPlainLine(const char *data, qsizetype size,
                               const std::function<void(qint64, const QStringList &)> &visit)
{
    const char *end = data + size - 1;
    if (end > data && end[-1] == '\r')
        --end;
    // Unquoted fields lose their leading and trailing blanks, as the parser takes them.
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    QStringList fields;
    fields.reserve(std::count(data, end, m_separator) + 1);
    for (const char *start = data;;) {
        const char *stop = std::find(start, end, m_separator);
        const char *first = start;
        const char *last = stop;
        while (first < last && isBlank(*first))
            ++first;
        while (last > first && isBlank(last[-1]))
            --last;
        fields << TextEncoding::decode(first, last - first, m_encoding);
        if (stop == end)
            break;
        start = stop + 1;
    }
    visit(m_line, fields);
}

void CsvReader::deliver(const std::function<void(qint64, const QStringList &)> &visit)
{
    while (!m_done.empty()) {
        const Record record = std::move(m_done.front());
        m_done.pop_front();
        visit(record.line, record.fields);
    }
}

void CsvReader::parseError() const
{
    if (csv_error(m_parser.get()) == CSV_ENOMEM || csv_error(m_parser.get()) == CSV_ETOOBIG)
        throw core::Failure(QStringLiteral("Zeile %1: zum Lesen fehlt der Speicher.").arg(m_line));
    throw core::Failure(
        QStringLiteral(
            "Zeile %1: die Anführungszeichen stimmen nicht. Ein Feld in Anführungszeichen endet mit "
            "einem Anführungszeichen vor dem Trennzeichen oder Zeilenende, und ein Anführungszeichen "
            "darin wird verdoppelt (\"\").")
            .arg(m_line));
}

void CsvReader::fieldDone(void *data, size_t size, void *self)
{
    auto *reader = static_cast<CsvReader *>(self);
    reader->m_fields << (data ? TextEncoding::decode(static_cast<const char *>(data),
                                                     static_cast<qsizetype>(size), reader->m_encoding)
                              : QString());
}

void CsvReader::recordDone(int, void *self)
{
    auto *reader = static_cast<CsvReader *>(self);
    const qsizetype count = reader->m_fields.size();
    reader->m_done.push_back(Record{reader->m_recordLine, std::move(reader->m_fields)});
    // The next record most likely has as many fields: room for them at once.
    reader->m_fields = QStringList();
    reader->m_fields.reserve(count);
    reader->m_atRecordStart = true;
}

} // namespace datatool

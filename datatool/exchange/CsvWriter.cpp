#include "CsvWriter.h"

#include "TextEncoding.h"

#include "Failure.h"

#include <csv.h>

#include <algorithm>

namespace datatool {

namespace {

constexpr qsizetype flushAt = 1 << 16;

} // namespace

CsvWriter::CsvWriter(QIODevice &device, char separator) : m_device(device), m_separator(separator)
{
    m_buffer.reserve(flushAt + 4096);
}

CsvWriter::~CsvWriter() = default;

void CsvWriter::writeBom()
{
    m_buffer += TextEncoding::utf8Bom();
}

void CsvWriter::writeRecord(const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_buffer += m_separator;
        appendField(fields.at(i));
    }
    m_buffer += "\r\n";
    if (m_buffer.size() >= flushAt)
        flush();
}

void CsvWriter::appendField(const QString &field)
{
    // Nearly every field is ASCII with nothing to quote: its characters are its bytes.
    const auto plain = [this](QChar c) {
        return c.unicode() < 0x80 && c != QLatin1Char(m_separator) && c != QLatin1Char('"') &&
               c != QLatin1Char('\r') && c != QLatin1Char('\n');
    };
    if (std::all_of(field.begin(), field.end(), plain)) {
        const qsizetype start = m_buffer.size();
        m_buffer.resize(start + field.size());
        std::transform(field.begin(), field.end(), m_buffer.begin() + start,
                       [](QChar c) { return static_cast<char>(c.unicode()); });
        return;
    }
    const QByteArray bytes = field.toUtf8();
    const bool needsQuotes =
        bytes.contains(m_separator) || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n');
    if (!needsQuotes) {
        m_buffer += bytes;
        return;
    }
    // Quoted, every quote doubled: at most twice the size plus the two quotes.
    const qsizetype room = 2 * bytes.size() + 2;
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + room);
    const size_t written = csv_write(m_buffer.data() + start, static_cast<size_t>(room), bytes.constData(),
                                     static_cast<size_t>(bytes.size()));
    m_buffer.resize(start + static_cast<qsizetype>(written));
}

void CsvWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    if (m_device.write(m_buffer) != m_buffer.size())
        throw core::Failure(m_device.errorString());
    m_buffer.clear();
}

} // namespace datatool

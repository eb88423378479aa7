#include "TextEncoding.h"

#include "Failure.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace datatool {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five unused codes keep their C1 value.
constexpr std::array<char16_t, 32> windows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Checks UTF-8 block by block (a character may span two blocks): no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut off at the end.
class Utf8Check {
public:
    void feed(QByteArrayView bytes)
    {
        for (const char c : bytes) {
            if (!m_valid)
                return;
            step(static_cast<unsigned char>(c));
        }
    }
    bool valid() const { return m_valid && m_pending == 0; }

private:
    void step(unsigned char b)
    {
        if (m_pending > 0) {
            m_valid = b >= m_low && b <= m_high;
            --m_pending;
            m_low = 0x80;
            m_high = 0xBF;
            return;
        }
        if (b < 0x80)
            return;
        if (b >= 0xC2 && b <= 0xDF)
            start(1, 0x80, 0xBF);
        else if (b == 0xE0)
            start(2, 0xA0, 0xBF);
        else if (b == 0xED)
            start(2, 0x80, 0x9F);
        else if (b >= 0xE1 && b <= 0xEF)
            start(2, 0x80, 0xBF);
        else if (b == 0xF0)
            start(3, 0x90, 0xBF);
        else if (b >= 0xF1 && b <= 0xF3)
            start(3, 0x80, 0xBF);
        else if (b == 0xF4)
            start(3, 0x80, 0x8F);
        else
            m_valid = false;
    }
    void start(int pending, unsigned char low, unsigned char high)
    {
        m_pending = pending;
        m_low = low;
        m_high = high;
    }

    bool m_valid = true;
    int m_pending = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
};

} // namespace

const QByteArray &TextEncoding::utf8Bom()
{
    static const QByteArray bom("\xEF\xBB\xBF");
    return bom;
}

TextEncoding::Kind TextEncoding::probe(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw core::Failure(QStringLiteral("Die Datei \"%1\" gibt es nicht.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" lässt sich nicht lesen: %2").arg(path, file.errorString()));

    const QByteArray start = file.peek(2);
    if (start == QByteArrayLiteral("\xFF\xFE") || start == QByteArrayLiteral("\xFE\xFF")) {
        // Its content is looked at when its lines are read.
        if (file.size() <= 2)
            throw core::Failure(QStringLiteral("Die Datei \"%1\" ist leer.").arg(path));
        return start.at(0) == '\xFF' ? Kind::Utf16LittleEndian : Kind::Utf16BigEndian;
    }
    Utf8Check utf8;
    bool content = false;
    bool first = true;
    QByteArray block;
    block.resize(1 << 16);
    for (;;) {
        const qint64 size = file.read(block.data(), block.size());
        if (size < 0)
            throw core::Failure(
                QStringLiteral("Die Datei \"%1\" lässt sich nicht lesen: %2").arg(path, file.errorString()));
        if (size == 0)
            break;
        QByteArrayView bytes(block.constData(), size);
        if (first && bytes.startsWith(utf8Bom()))
            bytes = bytes.sliced(utf8Bom().size());
        first = false;
        if (bytes.contains('\0'))
            throw core::Failure(
                QStringLiteral(
                    "Die Datei \"%1\" ist keine Textdatei (sie enthält Nullbytes). Eingelesen werden "
                    "CSV-Dateien in UTF-8, Windows-1252 oder UTF-16 mit Byte-Order-Mark (Unicode-Text).")
                    .arg(path));
        if (!content)
            content = std::any_of(bytes.begin(), bytes.end(), [](char c) { return !isBlank(c); });
        utf8.feed(bytes);
    }
    if (!content)
        throw core::Failure(QStringLiteral("Die Datei \"%1\" ist leer.").arg(path));
    return utf8.valid() ? Kind::Utf8 : Kind::Windows1252;
}

QString TextEncoding::decode(const char *data, qsizetype size, Kind kind)
{
    if (kind == Kind::Utf8)
        return QString::fromUtf8(data, size);
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out[i] = byte >= 0x80 && byte < 0xA0 ? QChar(windows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace datatool

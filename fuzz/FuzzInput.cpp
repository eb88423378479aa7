#include "FuzzInput.h"

#include <algorithm>
#include <cstring>

std::uint32_t FuzzInput::takeUInt32()
{
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32 && m_pos < m_size; shift += 8)
        value |= static_cast<std::uint32_t>(m_data[m_pos++]) << shift;
    return value;
}

double FuzzInput::takeDouble()
{
    unsigned char bytes[sizeof(double)] = {};
    const std::size_t count = std::min(sizeof bytes, remaining());
    std::memcpy(bytes, m_data + m_pos, count);
    m_pos += count;
    double value = 0.0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

QString FuzzInput::takeLine()
{
    const std::uint8_t *begin = m_data + m_pos;
    const std::uint8_t *end = m_data + m_size;
    const std::uint8_t *feed = std::find(begin, end, static_cast<std::uint8_t>('\n'));
    const QString line =
        QString::fromUtf8(reinterpret_cast<const char *>(begin), static_cast<qsizetype>(feed - begin));
    m_pos = static_cast<std::size_t>(feed - m_data) + (feed == end ? 0 : 1);
    return line;
}

QString FuzzInput::takeRest()
{
    const QString rest = QString::fromUtf8(reinterpret_cast<const char *>(m_data + m_pos),
                                           static_cast<qsizetype>(m_size - m_pos));
    m_pos = m_size;
    return rest;
}

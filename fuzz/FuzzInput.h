// Cuts one libFuzzer input into the values a fuzz target needs: whole numbers, doubles and
// UTF-8 texts. Reading past the end gives zeros and empty texts, so every byte string is a
// usable input and the fuzzer never wastes runs on inputs of the wrong length.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t remaining() const { return m_size - m_pos; }

    // The next four bytes, little-endian; missing bytes count as zero.
    std::uint32_t takeUInt32();

    // The next eight bytes as the bits of a double; missing bytes count as zero.
    double takeDouble();

    // The bytes up to the next line feed (which is dropped), decoded as UTF-8.
    QString takeLine();

    // All bytes left, decoded as UTF-8.
    QString takeRest();

private:
    const std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
};

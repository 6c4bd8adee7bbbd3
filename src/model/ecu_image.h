#pragma once
// The program's copy of the controller's 768-byte parameter memory: 384 little-endian words.
// Every accessor is bounds-checked: a location outside the image reads as 0 and is never written,
// so a bad offset from a file or a table can not reach past the buffer.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kaldor {

class EcuImage {
public:
    static constexpr std::size_t kSize = 768;
    static constexpr std::size_t kWords = kSize / 2;
    using Bytes = std::array<std::uint8_t, kSize>;

    EcuImage() { m_bytes.fill(0); }

    [[nodiscard]] std::uint8_t byte(std::size_t offset) const;
    void setByte(std::size_t offset, std::uint8_t value);

    // Word k occupies bytes 2k (low) and 2k+1 (high).
    [[nodiscard]] std::uint16_t word(std::size_t index) const;
    void setWord(std::size_t index, std::uint16_t value);

    // Two adjacent words as one 32-bit value, low half in the first word.
    [[nodiscard]] std::uint32_t dword(std::size_t index) const;
    void setDword(std::size_t index, std::uint32_t value);

    // A bit field of `width` bits starting at bit `firstBit` of byte `offset`; fields never
    // cross a byte. Storing changes only the field's own bits.
    [[nodiscard]] unsigned bits(std::size_t offset, unsigned firstBit, unsigned width) const;
    void setBits(std::size_t offset, unsigned firstBit, unsigned width, unsigned value);

    void replace(const Bytes& bytes) { m_bytes = bytes; }
    [[nodiscard]] const Bytes& bytes() const { return m_bytes; }

    friend bool operator==(const EcuImage& a, const EcuImage& b) { return a.m_bytes == b.m_bytes; }
    friend bool operator!=(const EcuImage& a, const EcuImage& b) { return !(a == b); }

private:
    Bytes m_bytes;
};

}  // namespace kaldor

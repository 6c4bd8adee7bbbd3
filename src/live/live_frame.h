#pragma once
// The 96-word live record and the 320-word calibration block the controller streams six words
// per record.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kaldor {

class LiveFrame {
public:
    static constexpr std::size_t kWords = 96;
    static constexpr std::size_t kBytes = kWords * 2;
    using Bytes = std::array<std::uint8_t, kBytes>;

    [[nodiscard]] std::uint16_t word(std::size_t i) const {
        return i < kWords ? static_cast<std::uint16_t>(m_bytes[2 * i] | (m_bytes[2 * i + 1] << 8))
                          : 0;
    }
    [[nodiscard]] std::int16_t signedWord(std::size_t i) const {
        const int w = word(i);
        return static_cast<std::int16_t>(w >= 0x8000 ? w - 0x10000 : w);
    }
    [[nodiscard]] std::uint8_t low(std::size_t i) const {
        return static_cast<std::uint8_t>(word(i) & 0xFF);
    }
    [[nodiscard]] std::uint8_t high(std::size_t i) const {
        return static_cast<std::uint8_t>(word(i) >> 8);
    }
    // Two words as one counter, low word first.
    [[nodiscard]] std::uint32_t dword(std::size_t i) const {
        return static_cast<std::uint32_t>(word(i)) |
               (static_cast<std::uint32_t>(word(i + 1)) << 16);
    }
    void setWord(std::size_t i, std::uint16_t value) {
        if (i >= kWords)
            return;
        m_bytes[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
        m_bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    [[nodiscard]] Bytes& bytes() { return m_bytes; }
    [[nodiscard]] const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes{};
};

class CalibrationBlock {
public:
    static constexpr std::size_t kWords = 320;
    static constexpr std::size_t kBytes = kWords * 2;
    static constexpr std::size_t kTableBytes = 128;
    // Word 18 of a record is the block position plus 6; words 12-17 are the slice.
    static constexpr std::size_t kPositionWord = 18;
    static constexpr std::size_t kSliceFirstWord = 12;
    static constexpr std::size_t kSliceWords = 6;

    // The three 16 x 8 tables: diesel (bytes 256-383), gas (384-511), correction (512-639, signed).
    enum class Table { Diesel = 2, Gas = 3, Correction = 4 };

    // Copies the record's slice to its place; records with a position of 5 or less, or past the
    // block, carry none.
    void takeSlice(const LiveFrame& frame);

    [[nodiscard]] std::uint16_t word(std::size_t i) const {
        return i < kWords ? static_cast<std::uint16_t>(m_bytes[2 * i] | (m_bytes[2 * i + 1] << 8))
                          : 0;
    }
    [[nodiscard]] const std::uint8_t* table(Table t) const {
        return m_bytes.data() + static_cast<std::size_t>(t) * kTableBytes;
    }
    [[nodiscard]] const std::array<std::uint8_t, kBytes>& bytes() const { return m_bytes; }

private:
    std::array<std::uint8_t, kBytes> m_bytes{};
};

}  // namespace kaldor
